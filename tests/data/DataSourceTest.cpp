// What the data source's commands return, and how their failures are reported.
#include "Config.h"
#include "DataStoreFixture.h"
#include "Serving.h"

const QString obrien = u"O'Brien"_s;

static QString names(Recordset& rs) {
    QStringList out;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext())
        out << rs.Fields(u"FoodName"_s).toString();
    return out.join(u' ');
}

TEST_F(DataStoreTest, DietCommandsSelectOneUsersRowsInLogOrderAndTheirRangesInclusively) {
    const std::pair<int, const char*> rows[] = {
        {5, "banana"}, {5, "Apple"}, {3, "Zucchini"}, {5, "apple"}, {9, "Egg"}};
    for (const auto& [d, food] : rows)
        addDiet(u1, day(d), QString::fromLatin1(food), d);
    addDiet(obrien, day(5), u"Stew"_s, 100); // a name with an apostrophe is a value
    ds().cmdDietData(u1);
    EXPECT_EQ(names(*ds().rscmdDietData), u"Zucchini Apple apple banana Egg"_s);
    ds().cmdDietItems(day(5), u1);
    EXPECT_EQ(names(*ds().rscmdDietItems), u"Apple apple banana"_s);
    ds().cmdDietReport(day(5), day(9), u1);
    EXPECT_EQ(names(*ds().rscmdDietReport), u"Apple apple banana Egg"_s);
    // A day's totals are one row, of nulls for a day without entries.
    ds().cmdDietTotal(day(5), u1);
    EXPECT_EQ(ds().rscmdDietTotal->Fields(u"tFat"_s), 15.0);
    ds().cmdDietTotal(day(6), u1);
    ASSERT_EQ(ds().rscmdDietTotal->RecordCount(), 1);
    EXPECT_TRUE(ds().rscmdDietTotal->Fields(u"tFat"_s).isNull());

    ds().cmdDeleteDietItems(day(9), day(3), u1); // reversed range: nothing
    ds().cmdDeleteDietItems(day(5), day(9), u1);
    ds().cmdDietData(u1);
    EXPECT_EQ(names(*ds().rscmdDietData), u"Zucchini"_s);
    ds().cmdDietData(obrien);
    EXPECT_EQ(names(*ds().rscmdDietData), u"Stew"_s);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DataStoreTest, TheGroupListLeavesOutTheRootAndDeletingAGroupsFoodsKeepsTheGroup) {
    ds().cmdAvailGroups();
    Recordset& g = *ds().rscmdAvailGroups;
    EXPECT_EQ(g.RecordCount(), 26); // of 27
    EXPECT_FALSE(g.FindFirst(Criterion::equals(u"GroupTag"_s, u"GROUPROOT"_s)));
    // The list's entries are found by their index, or by their key when they have one.
    FindAvailGroup(2, 0);
    const QVariant third = g.Fields(u"GroupId"_s);
    g.MoveFirst();
    FindAvailGroup(0, third.toLongLong());
    EXPECT_EQ(g.Fields(u"GroupId"_s), third);

    ds().cmdFoodItems(2); // the favourites
    EXPECT_EQ(ds().rscmdFoodItems->RecordCount(), 10);
    ds().cmdDeleteFoods(2);
    ds().cmdFoods();
    EXPECT_EQ(ds().rscmdFoods->RecordCount(), 20);
    ds().cmdGroups();
    EXPECT_TRUE(ds().rscmdGroups->FindFirst(Criterion::equals(u"GroupId"_s, 2)));
}

TEST_F(DataStoreTest, AFailedCommandReportsItsPhraseClosesTheMainWindowAndLeavesNoSet) {
    ds().cmdFoods();
    ds().closeDB();
    SetConfigValue(u1, u"x"_s, true); // reported, but the window stays
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
        EXPECT_EQ(box.title, u"Application Error"_s);
        EXPECT_EQ(box.buttons, vbCritical | vbOKOnly);
        prompts << QString(box.prompt).replace(gSupportMsg, u"<support>"_s);
    }
    EXPECT_EQ(prompts.join(u'|'), u"Unable to update the Configuration Data.  <support>|"
                                  "Unable to retrieve Food Data.  <support>|"
                                  "Unable to retrieve Table Key Data.  <support>|"
                                  "Unable to retrieve Configuration Data.  <support>|"
                                  "Unable to retrieve Diet Data.  <support>|"
                                  "Unable to retrieve Measures Data.  <support>|"
                                  "Unable to delete Food Data.  <support>|"
                                  "Unable to delete Diet Data.  <support>"_s);
}
