// What the data source's commands return, and how their failures are reported.
#include "Config.h"
#include "DataStoreFixture.h"
#include "Serving.h"

const QString u1 = QStringLiteral("USER1");
const QString obrien = QStringLiteral("O'Brien");

static QString names(Recordset& rs) {
    QStringList out;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext())
        out << rs.Fields(QStringLiteral("FoodName")).toString();
    return out.join(u' ');
}

TEST_F(DataStoreTest, DietCommandsSelectOneUsersRowsInLogOrderAndTheirRangesInclusively) {
    const std::pair<int, const char*> rows[] = {
        {5, "banana"}, {5, "Apple"}, {3, "Zucchini"}, {5, "apple"}, {9, "Egg"}};
    for (const auto& [d, food] : rows)
        addDiet(u1, day(d), QString::fromLatin1(food), d);
    addDiet(obrien, day(5), QStringLiteral("Stew"), 100); // a name with an apostrophe is a value
    ds().cmdDietData(u1);
    EXPECT_EQ(names(*ds().rscmdDietData), QStringLiteral("Zucchini Apple apple banana Egg"));
    ds().cmdDietItems(day(5), u1);
    EXPECT_EQ(names(*ds().rscmdDietItems), QStringLiteral("Apple apple banana"));
    ds().cmdDietReport(day(5), day(9), u1);
    EXPECT_EQ(names(*ds().rscmdDietReport), QStringLiteral("Apple apple banana Egg"));
    // A day's totals are one row, of nulls for a day without entries.
    ds().cmdDietTotal(day(5), u1);
    EXPECT_EQ(ds().rscmdDietTotal->Fields(QStringLiteral("tFat")), 15.0);
    ds().cmdDietTotal(day(6), u1);
    ASSERT_EQ(ds().rscmdDietTotal->RecordCount(), 1);
    EXPECT_TRUE(ds().rscmdDietTotal->Fields(QStringLiteral("tFat")).isNull());

    ds().cmdDeleteDietItems(day(9), day(3), u1); // reversed range: nothing
    ds().cmdDeleteDietItems(day(5), day(9), u1);
    ds().cmdDietData(u1);
    EXPECT_EQ(names(*ds().rscmdDietData), QStringLiteral("Zucchini"));
    ds().cmdDietData(obrien);
    EXPECT_EQ(names(*ds().rscmdDietData), QStringLiteral("Stew"));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DataStoreTest, TheGroupListLeavesOutTheRootAndDeletingAGroupsFoodsKeepsTheGroup) {
    ds().cmdGroups();
    ds().cmdAvailGroups();
    Recordset& g = *ds().rscmdAvailGroups;
    EXPECT_EQ(g.RecordCount(), ds().rscmdGroups->RecordCount() - 1);
    EXPECT_FALSE(
        g.FindFirst(Criterion::equals(QStringLiteral("GroupTag"), QStringLiteral("GROUPROOT"))));
    // The list's entries are found by their index, or by their key when they have one.
    FindAvailGroup(2, 0);
    const QVariant third = g.Fields(QStringLiteral("GroupId"));
    g.MoveFirst();
    FindAvailGroup(0, third.toLongLong());
    EXPECT_EQ(g.Fields(QStringLiteral("GroupId")), third);

    ds().cmdFoodItems(2); // the favourites
    EXPECT_EQ(ds().rscmdFoodItems->RecordCount(), 10);
    ds().cmdDeleteFoods(2);
    ds().cmdFoods();
    EXPECT_EQ(ds().rscmdFoods->RecordCount(), 20);
    ds().cmdGroups();
    EXPECT_TRUE(ds().rscmdGroups->FindFirst(Criterion::equals(QStringLiteral("GroupId"), 2)));
}

TEST_F(DataStoreTest, AFailedCommandReportsItsPhraseClosesTheMainWindowAndLeavesNoSet) {
    ds().cmdFoods();
    ds().closeDB();
    SetConfigValue(u1, QStringLiteral("x"), true); // reported, but the window stays
    EXPECT_EQ(unloads, 0);
    ds().cmdFoods();
    ds().cmdTableKey();
    ds().cmdConfig();
    ds().cmdDietTotal(day(1), u1);
    ds().cmdMeasures(1001);
    ds().cmdDeleteFoods(3);
    ds().cmdDeleteDietItems(day(1), day(2), u1);
    EXPECT_EQ(unloads, 7);
    EXPECT_FALSE(ds().rscmdFoods || ds().rscmdTableKey || ds().rscmdConfig);
    QStringList prompts;
    for (const RecordedBox& box : boxes.boxes()) {
        EXPECT_EQ(box.title, QStringLiteral("Application Error"));
        EXPECT_EQ(box.buttons, vbCritical | vbOKOnly);
        prompts << QString(box.prompt).replace(gSupportMsg, QStringLiteral("<support>"));
    }
    EXPECT_EQ(prompts.join(u'|'),
              QStringLiteral("Unable to update the Configuration Data.  <support>|"
                             "Unable to retrieve Food Data.  <support>|"
                             "Unable to retrieve Table Key Data.  <support>|"
                             "Unable to retrieve Configuration Data.  <support>|"
                             "Unable to retrieve Diet Data.  <support>|"
                             "Unable to retrieve Measures Data.  <support>|"
                             "Unable to delete Food Data.  <support>|"
                             "Unable to delete Diet Data.  <support>"));
    EXPECT_EQ(gSupportMsg, QStringLiteral("If this behavior continues contact Brindlewood "
                                          "Software Support at support@forkwise.org."));
}
