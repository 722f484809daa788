// Rescaling nutrient values to another measure, and positioning the measure and group lists.
#include "Serving.h"
#include "DataStoreFixture.h"

TEST(ServingArithmetic, GramWeightsRoundTiesToEvenAndTheRatioFallsBackToOne) {
    EXPECT_EQ(RoundHalfEven(28.5), 28);
    EXPECT_EQ(RoundHalfEven(29.5), 30);
    EXPECT_EQ(RoundHalfEven(28.51), 29);
    EXPECT_DOUBLE_EQ(RoundHalfEven(12.25, 1), 12.2);
    EXPECT_DOUBLE_EQ(RoundHalfEven(12.35, 1), 12.4);
    EXPECT_DOUBLE_EQ(RoundHalfEven(10.2 + 2.3, 1), 12.5);
    EXPECT_DOUBLE_EQ(GramWeightRatio(100, 250), 2.5);
    EXPECT_DOUBLE_EQ(GramWeightRatio(0, 250), 1.0);
    EXPECT_DOUBLE_EQ(GramWeightRatio(100, 0), 1.0);
}

namespace {
void setFood(Recordset& rs, long gramWeight, QVariant fat) {
    rs.Edit();
    rs.setField(QStringLiteral("USDA_GM_WT"), qlonglong(gramWeight));
    rs.setField(QStringLiteral("Fat"), fat);
    rs.setField(QStringLiteral("Protein"), 4.0);
    rs.Update();
}
void rescale(Recordset& rs, long m, long g, const QString& s) {
    rs.Edit();
    RescaleFood(m, g, s);
    rs.Update();
}
} // namespace

TEST_F(DataStoreTest, RescaleFoodRewritesTheFoodForTheNewMeasure) {
    ds().cmdFoods();
    Recordset& rs = *ds().rscmdFoods;
    ASSERT_TRUE(rs.FindFirst(Criterion::equals(QStringLiteral("FoodId"), 1001)));

    setFood(rs, 100, 2.0);
    rescale(rs, 3, 250, QStringLiteral("1 stick"));
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Fat")).toDouble(), 5.0);
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Protein")).toDouble(), 10.0);
    EXPECT_EQ(rs.Fields(QStringLiteral("ServingSize")).toString(), QStringLiteral("1 stick"));
    EXPECT_EQ(rs.Fields(QStringLiteral("USDA_MSRE_NO")).toLongLong(), 3);
    EXPECT_EQ(rs.Fields(QStringLiteral("USDA_GM_WT")).toLongLong(), 250);
    EXPECT_EQ(rs.Fields(QStringLiteral("FoodName")).toString(), QStringLiteral("Butter, salted"));
    EXPECT_EQ(rs.Fields(QStringLiteral("USDA_NDB_NO")).toLongLong(), 1001);

    // A food of the user's own (no gram weight) keeps its values; a null value stays null.
    setFood(rs, 0, QVariant());
    rescale(rs, 2, 14, QStringLiteral("1 tbsp"));
    EXPECT_TRUE(rs.Fields(QStringLiteral("Fat")).isNull());
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Protein")).toDouble(), 4.0);
    EXPECT_EQ(rs.Fields(QStringLiteral("USDA_GM_WT")).toLongLong(), 14);

    // A measure weighing nothing leaves the values as they are.
    setFood(rs, 100, 2.0);
    rescale(rs, 9, 0, QStringLiteral("a pinch"));
    EXPECT_DOUBLE_EQ(rs.Fields(QStringLiteral("Fat")).toDouble(), 2.0);
}

TEST_F(DataStoreTest, AListIndexOrAKeyPositionsTheGroupSet) {
    ds().cmdAvailGroups();
    Recordset& g = *ds().rscmdAvailGroups;
    FindAvailGroup(2, 0);
    const long third = g.Fields(QStringLiteral("GroupId")).toLongLong();
    g.MoveFirst();
    FindAvailGroup(0, third);
    EXPECT_EQ(g.Fields(QStringLiteral("GroupId")).toLongLong(), third);
    EXPECT_EQ(g.bookmark(), 2);
}
