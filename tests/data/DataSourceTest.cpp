// What each command of the data source returns, and how its failures are reported.
#include "DataStoreFixture.h"

namespace {
const QString u1 = QStringLiteral("USER1");
const QString u2 = QStringLiteral("USER2");
QDate day(int d) {
    return QDate(2026, 12, d);
}

QStringList column(Recordset& rs, const QString& name) {
    QStringList out;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext())
        out << rs.Fields(name).toString();
    return out;
}
} // namespace

TEST_F(DataStoreTest, DietCommandsSelectOneUsersRowsInLogOrder) {
    addDiet(u1, day(5), QStringLiteral("banana"));
    addDiet(u1, day(5), QStringLiteral("Apple"));
    addDiet(u1, day(3), QStringLiteral("Zucchini"));
    addDiet(u1, day(5), QStringLiteral("apple"));
    addDiet(u1, day(9), QStringLiteral("Egg"));
    addDiet(u2, day(4), QStringLiteral("Other user's toast"));

    ds().cmdDietData(u1);
    EXPECT_EQ(
        column(*ds().rscmdDietData, QStringLiteral("FoodName")),
        (QStringList{QStringLiteral("Zucchini"), QStringLiteral("Apple"), QStringLiteral("apple"),
                     QStringLiteral("banana"), QStringLiteral("Egg")}));

    ds().cmdDietDates(u1);
    Recordset& dates = *ds().rscmdDietDates;
    QList<QDate> seen;
    for (dates.MoveFirst(); !dates.eof(); dates.MoveNext())
        seen << dates.Fields(QStringLiteral("DietDate")).toDate();
    EXPECT_EQ(seen, (QList<QDate>{day(3), day(5), day(9)}));

    ds().cmdDietItems(day(5), u1);
    EXPECT_EQ(
        column(*ds().rscmdDietItems, QStringLiteral("FoodName")),
        (QStringList{QStringLiteral("Apple"), QStringLiteral("apple"), QStringLiteral("banana")}));

    ds().cmdDietReport(day(4), day(9), u1);
    EXPECT_EQ(ds().rscmdDietReport->RecordCount(), 4);
    ds().cmdDietReport(day(9), day(4), u1);
    EXPECT_EQ(ds().rscmdDietReport->RecordCount(), 0);

    // A user name with an apostrophe is a value like any other.
    addDiet(QStringLiteral("O'Brien"), day(5), QStringLiteral("Stew"));
    ds().cmdDietData(QStringLiteral("O'Brien"));
    EXPECT_EQ(ds().rscmdDietData->RecordCount(), 1);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DataStoreTest, DayTotalsSumOneUsersDayAndAnEmptyDayGivesOneRowOfNulls) {
    addDiet(u1, day(5), QStringLiteral("A"), 10.25);
    addDiet(u1, day(5), QStringLiteral("B"), std::nullopt);
    addDiet(u1, day(5), QStringLiteral("C"), 2.5);
    addDiet(u2, day(5), QStringLiteral("D"), 100.0);

    ds().cmdDietTotal(day(5), u1);
    Recordset& t = *ds().rscmdDietTotal;
    ASSERT_EQ(t.RecordCount(), 1);
    EXPECT_DOUBLE_EQ(t.Fields(QStringLiteral("tFat")).toDouble(), 12.75);
    EXPECT_DOUBLE_EQ(t.Fields(QStringLiteral("tCalorie")).toDouble(), 300.0);
    EXPECT_TRUE(t.Fields(QStringLiteral("tProtein")).isNull());

    ds().cmdDietTotal(day(6), u1);
    Recordset& none = *ds().rscmdDietTotal;
    ASSERT_EQ(none.RecordCount(), 1);
    for (const char* c : {"tFat", "tCalorie", "tCarbohydrate", "tCholesterol", "tOther1", "tOther2",
                          "tProtein", "tSodium"})
        EXPECT_TRUE(none.Fields(QString::fromLatin1(c)).isNull()) << c;
}

TEST_F(DataStoreTest, DeleteCommandsRemoveOnlyTheirRows) {
    addDiet(u1, day(3), QStringLiteral("A"));
    addDiet(u1, day(5), QStringLiteral("B"));
    addDiet(u1, day(7), QStringLiteral("C"));
    addDiet(u2, day(5), QStringLiteral("D"));
    ds().cmdDeleteDietItems(day(7), day(3), u1); // reversed range: nothing
    ds().cmdDietData(u1);
    EXPECT_EQ(ds().rscmdDietData->RecordCount(), 3);
    ds().cmdDeleteDietItems(day(4), day(7), u1);
    ds().cmdDietData(u1);
    EXPECT_EQ(column(*ds().rscmdDietData, QStringLiteral("FoodName")),
              QStringList{QStringLiteral("A")});
    ds().cmdDietData(u2);
    EXPECT_EQ(ds().rscmdDietData->RecordCount(), 1);

    ds().cmdFoods();
    const long before = ds().rscmdFoods->RecordCount();
    ds().cmdFoodItems(2); // the favourites
    const long favourites = ds().rscmdFoodItems->RecordCount();
    ASSERT_GT(favourites, 0);
    ds().cmdDeleteFoods(2);
    ds().cmdFoodItems(2);
    EXPECT_TRUE(ds().rscmdFoodItems->eof());
    ds().cmdFoods();
    EXPECT_EQ(ds().rscmdFoods->RecordCount(), before - favourites);
    ds().cmdGroups();
    EXPECT_TRUE(ds().rscmdGroups->FindFirst(Criterion::equals(QStringLiteral("GroupId"), 2)));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DataStoreTest, TheGroupListLeavesOutTheRootAndAFoodWithoutMeasuresHasNone) {
    ds().cmdGroups();
    ds().cmdAvailGroups();
    EXPECT_EQ(ds().rscmdAvailGroups->RecordCount(), ds().rscmdGroups->RecordCount() - 1);
    EXPECT_FALSE(ds().rscmdAvailGroups->FindFirst(
        Criterion::equals(QStringLiteral("GroupTag"), QStringLiteral("GROUPROOT"))));
    ds().cmdMeasures(99999999);
    EXPECT_TRUE(ds().rscmdMeasures->eof());
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DataStoreTest, AFailedCommandReportsItsPhraseClosesTheMainWindowAndLeavesNoSet) {
    ds().cmdFoods();
    ASSERT_TRUE(ds().rscmdFoods);
    ds().closeDB();

    struct Case {
        std::function<void()> run;
        const std::unique_ptr<Recordset>* member;
        const char* phrase;
    };
    const std::vector<Case> cases = {
        {[&] { ds().cmdFoods(); }, &ds().rscmdFoods, "Unable to retrieve Food Data.  "},
        {[&] { ds().cmdTableKey(); }, &ds().rscmdTableKey, "Unable to retrieve Table Key Data.  "},
        {[&] { ds().cmdConfig(); }, &ds().rscmdConfig, "Unable to retrieve Configuration Data.  "},
        {[&] { ds().cmdDietTotal(day(1), u1); }, &ds().rscmdDietTotal,
         "Unable to retrieve Diet Data.  "},
        {[&] { ds().cmdMeasures(1001); }, &ds().rscmdMeasures,
         "Unable to retrieve Measures Data.  "},
        {[&] { ds().cmdDeleteFoods(3); }, nullptr, "Unable to delete Food Data.  "},
        {[&] { ds().cmdDeleteDietItems(day(1), day(2), u1); }, nullptr,
         "Unable to delete Diet Data.  "},
    };
    for (const Case& c : cases) {
        boxes.clear();
        const int before = unloads;
        c.run();
        ASSERT_EQ(boxes.boxes().size(), 1u) << c.phrase;
        const RecordedBox& box = boxes.boxes()[0];
        EXPECT_EQ(box.prompt, QString::fromLatin1(c.phrase) + gSupportMsg);
        EXPECT_EQ(box.title, QStringLiteral("Application Error"));
        EXPECT_EQ(box.buttons, vbCritical | vbOKOnly);
        EXPECT_EQ(unloads, before + 1);
        if (c.member) {
            EXPECT_FALSE(*c.member) << c.phrase;
        }
    }
    EXPECT_TRUE(gSupportMsg.startsWith(
        QStringLiteral("If this behavior continues contact Brindlewood Software Support at ")));
    EXPECT_TRUE(gSupportMsg.endsWith(u'.'));
}
