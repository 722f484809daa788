// What the data source's commands return, and how their failures are reported.
#include "Config.h"
#include "DataStoreFixture.h"
#include "SchemaLayout.h"
#include "SchemaVersion.h"
#include "Serving.h"

#include <functional>
#include <sqlite3.h>

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

TEST_F(DataStoreTest, AnOlderLogGetsItsDaysFromItsEntriesOnceAndEachUsersDaysReadAscending) {
    // A log of version 1, without the table of days: users on either side of USER1, USER1 in
    // another letter case, days of many entries, and dates the program did not write: a time
    // after the day, a day that does not exist, a number.
    ds().closeDB();
    for (const QString& sql :
         {u"DROP TABLE DietDay"_s, u"PRAGMA user_version = 1"_s,
          u"INSERT INTO DietActivity (UserName, DietDate) VALUES ('USER0', '2026-12-01'), "
          "('USER1', '2026-12-05'), ('user1', '2026-12-05'), ('USER1', '2026-12-03'), "
          "('USER1', '2026-12-05 08:30'), ('USER2', '2026-12-04'), ('USER1', '2026-02-30'), "
          "('USER1', 20261204), ('USER1', '2026-12-03'), ('USER2', '2026-12-09'), "
          "('USER1', '2026-12-09')"_s})
        queryValue(db.path(), sql);
    ASSERT_TRUE(ds().connectDB());
    EXPECT_EQ(value(u"PRAGMA user_version"_s), kSchemaVersion);
    int rc = SQLITE_ERROR;
    EXPECT_EQ(
        layoutDifference(describeLayout(ds().appDB.handle(), &rc), programLayout(kSchemaVersion)),
        QString());
    const auto days = [this](const QString& user) {
        QVariantList out;
        ds().cmdDietDates(user);
        for (Recordset& rs = *ds().rscmdDietDates; !rs.eof(); rs.MoveNext())
            out << rs.Fields(u"DietDate"_s);
        return out;
    };
    const auto distinct = [this](const QString& user) {
        QVariantList out;
        auto rs = Recordset::openSnapshot(ds().appDB,
                                          u"SELECT DISTINCT dietdate FROM DietActivity WHERE "
                                          "username = ? ORDER BY 1"_s,
                                          {user});
        for (; !rs->eof(); rs->MoveNext())
            out << rs->Fields(u"dietdate"_s);
        return out;
    };
    EXPECT_EQ(days(u1), distinct(u1));
    EXPECT_EQ(days(u1).size(), 6);
    EXPECT_EQ(days(u1)[2], QVariant(day(3)));
    EXPECT_EQ(days(u"USER2"_s), (QVariantList{day(4), day(9)}));
    EXPECT_TRUE(days(u"USER3"_s).isEmpty());

    // Opened again, the log is left as it is.
    ds().closeDB();
    const QByteArray upgraded = fileBytes(db.path());
    ASSERT_TRUE(ds().connectDB());
    ds().closeDB();
    EXPECT_TRUE(fileBytes(db.path()) == upgraded);
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

TEST_F(DataStoreTest, AFailedCommandReportsItsPhraseOnceThrowsAndLeavesNoSet) {
    ds().cmdFoods();
    ds().closeDB();
    SetConfigValue(u1, u"x"_s, true); // reported, but the run goes on
    // Each command on a source of its own, so that each shows its message.
    const std::pair<std::function<void(clsFWSDataSource&)>, const char*> commands[] = {
        {[](clsFWSDataSource& s) { s.cmdFoods(); }, "Unable to retrieve Food Data.  "},
        {[](clsFWSDataSource& s) { s.cmdTableKey(); }, "Unable to retrieve Table Key Data.  "},
        {[](clsFWSDataSource& s) { s.cmdConfig(); }, "Unable to retrieve Configuration Data.  "},
        {[this](clsFWSDataSource& s) { s.cmdDietTotal(day(1), u1); },
         "Unable to retrieve Diet Data.  "},
        {[](clsFWSDataSource& s) { s.cmdMeasures(1001); }, "Unable to retrieve Measures Data.  "},
        {[](clsFWSDataSource& s) { s.cmdDeleteFoods(3); }, "Unable to delete Food Data.  "},
        {[this](clsFWSDataSource& s) { s.cmdDeleteDietItems(day(1), day(2), u1); },
         "Unable to delete Diet Data.  "},
        {[](clsFWSDataSource& s) { s.getTableKey(u"FOODITEM"_s); },
         "Unable to update Table Key Data.  "}};
    QStringList expected = {u"Unable to update the Configuration Data.  "_s};
    for (const auto& [command, phrase] : commands) {
        clsFWSDataSource closed;
        EXPECT_THROW(command(closed), CommandFailed) << phrase;
        // Once failed, every command ends at once, without a second message.
        EXPECT_THROW(closed.cmdFoods(), CommandFailed);
        EXPECT_FALSE(closed.rscmdFoods || closed.rscmdTableKey || closed.rscmdConfig);
        expected << QString::fromLatin1(phrase);
    }
    QStringList prompts;
    for (const RecordedBox& box : boxes.boxes()) {
        EXPECT_EQ(box.title, u"Application Error"_s);
        EXPECT_EQ(box.buttons, vbCritical | vbOKOnly);
        prompts << QString(box.prompt).remove(gSupportMsg);
    }
    EXPECT_EQ(prompts, expected);
    EXPECT_EQ(unloads, 0); // closing the window is the caller's, where the command entered
}
