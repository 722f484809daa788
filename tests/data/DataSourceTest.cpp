// What each command of the data source returns, and how its failures are reported.
#include "DataStoreFixture.h"

namespace {
const QString u1 = QStringLiteral("USER1");
const QString u2 = QStringLiteral("USER2");
QDate day(int d) {
    return QDate(2026, 12, d);
}

QStringList column(Recordset& rs, const char* name) {
    QStringList out;
    for (rs.MoveFirst(); !rs.eof(); rs.MoveNext())
        out << rs.Fields(QString::fromLatin1(name)).toString();
    return out;
}
} // namespace

TEST_F(DataStoreTest, DietCommandsSelectOneUsersRowsInLogOrderAndTheirRangesInclusively) {
    const std::pair<int, const char*> rows[] = {
        {5, "banana"}, {5, "Apple"}, {3, "Zucchini"}, {5, "apple"}, {9, "Egg"}};
    for (const auto& [d, food] : rows)
        addDiet(u1, day(d), QString::fromLatin1(food), d);
    addDiet(u2, day(5), QStringLiteral("Other user's toast"), 100.0);
    ds().cmdDietData(u1);
    EXPECT_EQ(column(*ds().rscmdDietData, "FoodName").join(u' '),
              QStringLiteral("Zucchini Apple apple banana Egg"));
    ds().cmdDietItems(day(5), u1);
    EXPECT_EQ(column(*ds().rscmdDietItems, "FoodName").join(u' '),
              QStringLiteral("Apple apple banana"));
    ds().cmdDietReport(day(5), day(9), u1);
    EXPECT_EQ(ds().rscmdDietReport->RecordCount(), 4);
    ds().cmdDietReport(day(9), day(5), u1);
    EXPECT_EQ(ds().rscmdDietReport->RecordCount(), 0);
    // A day's totals are one row, of nulls for a day without entries.
    ds().cmdDietTotal(day(5), u1);
    EXPECT_EQ(ds().rscmdDietTotal->Fields(QStringLiteral("tFat")), 15.0);
    ds().cmdDietTotal(day(6), u1);
    Recordset& none = *ds().rscmdDietTotal;
    ASSERT_EQ(none.RecordCount(), 1);
    for (const QString& c : none.fieldNames())
        EXPECT_TRUE(none.Fields(c).isNull()) << qPrintable(c);

    // A user name with an apostrophe is a value like any other.
    addDiet(QStringLiteral("O'Brien"), day(5), QStringLiteral("Stew"));
    ds().cmdDietData(QStringLiteral("O'Brien"));
    EXPECT_EQ(ds().rscmdDietData->RecordCount(), 1);

    ds().cmdDeleteDietItems(day(9), day(3), u1); // reversed range: nothing
    ds().cmdDeleteDietItems(day(5), day(9), u1);
    ds().cmdDietData(u1);
    EXPECT_EQ(column(*ds().rscmdDietData, "FoodName"), QStringList{QStringLiteral("Zucchini")});
    ds().cmdDietData(u2);
    EXPECT_EQ(ds().rscmdDietData->RecordCount(), 1);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DataStoreTest, DeletingAGroupsFoodsKeepsTheGroupAndOtherFoods) {
    ds().cmdFoods();
    const long before = ds().rscmdFoods->RecordCount();
    ds().cmdFoodItems(2); // the favourites
    const long favourites = ds().rscmdFoodItems->RecordCount();
    ASSERT_GT(favourites, 0);
    ds().cmdDeleteFoods(2);
    ds().cmdFoods();
    EXPECT_EQ(ds().rscmdFoods->RecordCount(), before - favourites);
    ds().cmdGroups();
    EXPECT_TRUE(ds().rscmdGroups->FindFirst(Criterion::equals(QStringLiteral("GroupId"), 2)));
    ds().cmdMeasures(99999999);
    EXPECT_TRUE(ds().rscmdMeasures->eof());
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DataStoreTest, AFailedCommandReportsItsPhraseClosesTheMainWindowAndLeavesNoSet) {
    ds().cmdFoods();
    ASSERT_TRUE(ds().rscmdFoods);
    ds().closeDB();
    int closed = 0;
    const auto failed = [&](const char* phrase, const std::unique_ptr<Recordset>* set = nullptr) {
        ASSERT_EQ(boxes.boxes().size(), 1u) << phrase;
        EXPECT_EQ(boxes.boxes()[0].prompt, QString::fromLatin1(phrase) + gSupportMsg);
        EXPECT_EQ(boxes.boxes()[0].title, QStringLiteral("Application Error"));
        EXPECT_EQ(boxes.boxes()[0].buttons, vbCritical | vbOKOnly);
        EXPECT_EQ(unloads, ++closed) << phrase;
        EXPECT_TRUE(!set || !*set) << phrase;
        boxes.clear();
    };
    ds().cmdFoods();
    failed("Unable to retrieve Food Data.  ", &ds().rscmdFoods);
    ds().cmdTableKey();
    failed("Unable to retrieve Table Key Data.  ", &ds().rscmdTableKey);
    ds().cmdConfig();
    failed("Unable to retrieve Configuration Data.  ", &ds().rscmdConfig);
    ds().cmdDietTotal(day(1), u1);
    failed("Unable to retrieve Diet Data.  ", &ds().rscmdDietTotal);
    ds().cmdMeasures(1001);
    failed("Unable to retrieve Measures Data.  ", &ds().rscmdMeasures);
    ds().cmdDeleteFoods(3);
    failed("Unable to delete Food Data.  ");
    ds().cmdDeleteDietItems(day(1), day(2), u1);
    failed("Unable to delete Diet Data.  ");
    EXPECT_TRUE(gSupportMsg.startsWith(
        QStringLiteral("If this behavior continues contact Brindlewood Software Support at ")));
}
