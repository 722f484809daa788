// Rescaling a food's nutrient values to another measure.
#include "Serving.h"
#include "DataStoreFixture.h"

TEST_F(DataStoreTest, RescaleFoodRewritesTheFoodForTheExactWeightOfTheNewMeasure) {
    ds().cmdFoods();
    Recordset& rs = *ds().rscmdFoods;
    ASSERT_TRUE(rs.FindFirst(Criterion::equals(QStringLiteral("FoodId"), 1001)));
    const auto rescale = [&](double storedGrams) {
        rs.Edit();
        rs.setField(QStringLiteral("USDA_GM_WT"), storedGrams);
        rs.setField(QStringLiteral("Fat"), 2835.0);
        rs.setField(QStringLiteral("Protein"), 28.35);
        rs.setField(QStringLiteral("Sodium"), QVariant());
        RescaleFood(4, 0.4, QStringLiteral("1 dash"));
        rs.Update();
        EXPECT_TRUE(rs.Fields(QStringLiteral("Sodium")).isNull());
        EXPECT_EQ(rs.Fields(QStringLiteral("ServingSize")).toString(), QStringLiteral("1 dash"));
        EXPECT_EQ(rs.Fields(QStringLiteral("USDA_MSRE_NO")).toLongLong(), 4);
        EXPECT_EQ(rs.Fields(QStringLiteral("USDA_GM_WT")), 0.4);
    };
    // From an ounce of 28.35 g to a dash of 0.4 g: rounding either weight would be far off.
    rescale(28.35);
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Fat")).toDouble(), 40);
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Protein")).toDouble(), 0.4);
    // A food of the user's own (no gram weight) keeps its values.
    rescale(0);
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Fat")).toDouble(), 2835);
}
