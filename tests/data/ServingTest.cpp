// Rescaling nutrient values to another measure, and positioning the group list.
#include "Serving.h"
#include "DataStoreFixture.h"

TEST_F(DataStoreTest, RescaleFoodRewritesTheFoodForTheExactWeightOfTheNewMeasure) {
    ds().cmdFoods();
    Recordset& rs = *ds().rscmdFoods;
    ASSERT_TRUE(rs.FindFirst(Criterion::equals(QStringLiteral("FoodId"), 1001)));
    const auto rescale = [&](double storedGrams, QVariant fat, long m, double g, const char* s) {
        rs.Edit();
        rs.setField(QStringLiteral("USDA_GM_WT"), storedGrams);
        rs.setField(QStringLiteral("Fat"), fat);
        rs.setField(QStringLiteral("Protein"), 4.0);
        RescaleFood(m, g, QString::fromLatin1(s));
        rs.Update();
    };
    // A dash of 0.4 g is a thousandth of a cup of 400 g, not the whole cup.
    rescale(400, 2000.0, 4, 0.4, "1 dash");
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Fat")).toDouble(), 2.0);
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Protein")).toDouble(), 0.004);
    EXPECT_EQ(rs.Fields(QStringLiteral("ServingSize")).toString(), QStringLiteral("1 dash"));
    EXPECT_EQ(rs.Fields(QStringLiteral("USDA_MSRE_NO")).toLongLong(), 4);
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("USDA_GM_WT")).toDouble(), 0.4);
    EXPECT_EQ(rs.Fields(QStringLiteral("USDA_NDB_NO")).toLongLong(), 1001);
    // Back from the dash to an ounce: scaled by 28.35 g, not by a rounded 28 g.
    rescale(0.4, 2.0, 2, 28.35, "1 oz");
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Fat")).toDouble(), 141.75);
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("USDA_GM_WT")).toDouble(), 28.35);

    // A food of the user's own (no gram weight) keeps its values; a null value stays null.
    rescale(0, QVariant(), 2, 14.2, "1 tbsp");
    EXPECT_TRUE(rs.Fields(QStringLiteral("Fat")).isNull());
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Protein")).toDouble(), 4.0);
    // A measure weighing nothing leaves the values as they are.
    rescale(100, 2.0, 9, 0, "a pinch");
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Fat")).toDouble(), 2.0);
}

TEST_F(DataStoreTest, TheGroupListLeavesOutTheRootAndAnIndexOrAKeyPositionsIt) {
    ds().cmdGroups();
    ds().cmdAvailGroups();
    Recordset& g = *ds().rscmdAvailGroups;
    EXPECT_EQ(g.RecordCount(), ds().rscmdGroups->RecordCount() - 1);
    EXPECT_FALSE(
        g.FindFirst(Criterion::equals(QStringLiteral("GroupTag"), QStringLiteral("GROUPROOT"))));
    FindAvailGroup(2, 0);
    const long third = g.Fields(QStringLiteral("GroupId")).toLongLong();
    g.MoveFirst();
    FindAvailGroup(0, third);
    EXPECT_EQ(g.Fields(QStringLiteral("GroupId")).toLongLong(), third);
    EXPECT_EQ(g.bookmark(), 2);
}
