// Rescaling a food's nutrient values to another measure.
#include "Serving.h"
#include "DataStoreFixture.h"

TEST_F(DataStoreTest, RescaleFoodRewritesTheFoodForTheExactWeightOfTheNewMeasure) {
    ds().cmdFoods();
    Recordset& rs = *ds().rscmdFoods;
    ASSERT_TRUE(rs.FindFirst(Criterion::equals(u"FoodId"_s, 1001)));
    const auto rescale = [&](double storedGrams) {
        rs.Edit();
        rs.setField(u"USDA_GM_WT"_s, storedGrams);
        rs.setField(u"Fat"_s, 2835.0);
        rs.setField(u"Protein"_s, 28.35);
        rs.setField(u"Sodium"_s, QVariant());
        RescaleFood(4, 0.4, u"1 dash"_s);
        rs.Update();
        EXPECT_TRUE(rs.Fields(u"Sodium"_s).isNull());
        EXPECT_EQ(rs.Fields(u"ServingSize"_s).toString(), u"1 dash"_s);
        EXPECT_EQ(rs.Fields(u"USDA_MSRE_NO"_s).toLongLong(), 4);
        EXPECT_EQ(rs.Fields(u"USDA_GM_WT"_s), 0.4);
    };
    // From an ounce of 28.35 g to a dash of 0.4 g: rounding either weight would be far off.
    rescale(28.35);
    EXPECT_DOUBLE_EQ(rs.Fields(u"Fat"_s).toDouble(), 40);
    EXPECT_DOUBLE_EQ(rs.Fields(u"Protein"_s).toDouble(), 0.4);
    // A food of the user's own (no gram weight) keeps its values.
    rescale(0);
    EXPECT_DOUBLE_EQ(rs.Fields(u"Fat"_s).toDouble(), 2835);
}
