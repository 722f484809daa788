// Logging what was eaten: double click, drops with either button, the servings dialog, moving
// entries between days, and editing an entry.
#include "DietLogFixture.h"
#include "Serving.h"

namespace {
const QString kUpdateFailed = QStringLiteral("Unable to update Diet Data.  ");
}

TEST_F(DietLogTest, DoubleClickingAFoodLogsOneServingTodayForTheCurrentUser) {
    start();
    click(w().tvwFood, food(kCheese));
    w().tvwFood_DblClick();
    TreeNode* today = day("20261206");
    ASSERT_TRUE(today);
    const long id = lastDietId();
    EXPECT_EQ(w().tvwDiet->selectedNode(), entry(id));
    EXPECT_EQ(entry(id)->Parent(), today);
    EXPECT_EQ(entry(id)->Text(), QStringLiteral("Test cheese"));
    EXPECT_EQ(column(id, "UserName").toString(), QStringLiteral("USER1"));
    EXPECT_EQ(column(id, "DietDate").toDate(), QDate(2026, 12, 6));
    EXPECT_DOUBLE_EQ(column(id, "NumServings").toDouble(), 1.0);
    EXPECT_DOUBLE_EQ(column(id, "Fat").toDouble(), 10.0);
    EXPECT_TRUE(column(id, "Other1").isNull()); // no value in the food, none in the entry
    EXPECT_EQ(column(id, "ServingSize").toString(), QStringLiteral("100 g"));
    EXPECT_EQ(column(id, "GroupName").toString(), QStringLiteral("Favorites"));
    EXPECT_EQ(column(id, "USDA_GM_WT").toLongLong(), 100);
    EXPECT_TRUE(boxes.boxes().empty());

    // What landed on disk is the same: close and read the file.
    closeWindow();
    EXPECT_EQ(queryValue(db.path(), QStringLiteral("SELECT count(*) FROM DietActivity")).toInt(),
              1);
    EXPECT_EQ(queryValue(db.path(), QStringLiteral("SELECT KeyValue FROM TableKey WHERE KeyName = "
                                                   "'DIETACTIVITY'"))
                  .toLongLong(),
              id);
}

TEST_F(DietLogTest, TheServingsDialogScalesByTheRoundedGramWeightAndTheServings) {
    prepare({QStringLiteral("INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName) "
                            "VALUES (5, 'USER1', '2026-12-05', 'Zucchini')")});
    start();
    const auto data = drag(w().tvwFood, food(kCheese), true);
    QString dateShown;
    answerDialog([&](dlgServings& dlg) {
        EXPECT_EQ(dlg.cmbServings->currentText(), QStringLiteral("1.00"));
        EXPECT_EQ(dlg.cmbServings->count(), 39);
        EXPECT_EQ(dlg.cmbServSize->currentText(), QStringLiteral("100 g")); // the food's own
        EXPECT_TRUE(dlg.rbPreffered->isVisibleTo(&dlg));
        dateShown = dlg.DTDate->date().toString(Qt::ISODate);
        dlg.cmbServings->setEditText(QStringLiteral("2"));
        dlg.cmbServSize->setCurrentIndex(0); // 1 oz, the lightest
    });
    dropOn(*data, day("20261205")); // a day never opened
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(dateShown, QStringLiteral("2026-12-05"));
    const long id = lastDietId();
    EXPECT_EQ(column(id, "USDA_GM_WT").toLongLong(), 28);
    EXPECT_EQ(column(id, "ServingSize").toString(), QStringLiteral("1 oz"));
    EXPECT_DOUBLE_EQ(column(id, "Fat").toDouble(), (10.0 * 2) * 0.28);
    EXPECT_DOUBLE_EQ(column(id, "NumServings").toDouble(), 2.0);
    // The day shows all its entries once, the new one selected.
    EXPECT_EQ(day("20261205")->Children(), 2);
    EXPECT_EQ(w().tvwDiet->selectedNode(), entry(id));
    EXPECT_FALSE(w().blnRightButton);
    EXPECT_EQ(w().tvwDiet->dropHighlight(), nullptr);
}

TEST_F(DietLogTest, MarkPreferredRewritesTheFoodOnceAndLogsTheSameValues) {
    start();
    const auto data = drag(w().tvwFood, food(kCheese), true);
    answerDialog([](dlgServings& dlg) {
        dlg.cmbServSize->setCurrentIndex(2); // 1 cup, 250 g
        dlg.rbPreffered->setChecked(true);
    });
    dropOn(*data, nullptr); // below the last node: today
    const long marked = lastDietId();
    EXPECT_EQ(column(marked, "DietDate").toDate(), QDate(2026, 12, 6));
    EXPECT_DOUBLE_EQ(column(marked, "Fat").toDouble(), 25.0);

    Recordset& foods = *gDataSource->rscmdFoods;
    foods.MoveFirst();
    ASSERT_TRUE(foods.FindFirst(Criterion::equals(QStringLiteral("FoodId"), qlonglong(kCheese))));
    EXPECT_EQ(foods.Fields(QStringLiteral("ServingSize")).toString(), QStringLiteral("1 cup"));
    EXPECT_EQ(foods.Fields(QStringLiteral("USDA_GM_WT")).toLongLong(), 250);
    EXPECT_DOUBLE_EQ(foods.Fields(QStringLiteral("Fat")).toDouble(), 25.0);

    // The same measure again, without marking: the food is not scaled a second time.
    const auto again = drag(w().tvwFood, food(kCheese), true);
    answerDialog([](dlgServings& dlg) { dlg.cmbServSize->setCurrentIndex(2); });
    dropOn(*again, nullptr);
    EXPECT_DOUBLE_EQ(column(lastDietId(), "Fat").toDouble(), 25.0);
    foods.MoveFirst();
    foods.FindFirst(Criterion::equals(QStringLiteral("FoodId"), qlonglong(kCheese)));
    EXPECT_DOUBLE_EQ(foods.Fields(QStringLiteral("Fat")).toDouble(), 25.0);
}

TEST_F(DietLogTest, AFoodOfTheUsersOwnKeepsItsServingAndValuesTimesServings) {
    start();
    const auto data = drag(w().tvwFood, food(kOwnBread), true);
    answerDialog([](dlgServings& dlg) {
        EXPECT_EQ(dlg.cmbServSize->currentText(), QStringLiteral("1 slice"));
        EXPECT_EQ(dlg.cmbServSize->count(), 0);
        EXPECT_FALSE(dlg.rbPreffered->isVisibleTo(&dlg));
        dlg.cmbServings->setEditText(QStringLiteral("3"));
    });
    dropOn(*data, nullptr);
    const long id = lastDietId();
    EXPECT_EQ(column(id, "ServingSize").toString(), QStringLiteral("1 slice"));
    EXPECT_DOUBLE_EQ(column(id, "Fat").toDouble(), 9.0);
    EXPECT_EQ(column(id, "USDA_GM_WT").toLongLong(), 0);
}

TEST_F(DietLogTest, TheDialogRefusesBadInputWithItsMessagesAndCancelChangesNothing) {
    start();
    const auto data = drag(w().tvwFood, food(kCheese), true);
    QStringList messages;
    setModalHandler([&](QDialog& d) {
        auto& dlg = dynamic_cast<dlgServings&>(d);
        dlg.cmbServings->setEditText(QStringLiteral("two"));
        dlg.OKButton->click();
        EXPECT_TRUE(dlg.txtCloseMode->text().isEmpty()); // still open
        dlg.cmbServings->setEditText(QStringLiteral("2"));
        dlg.cmbServSize->setCurrentIndex(-1);
        dlg.OKButton->click();
        for (const RecordedBox& b : boxes.boxes()) {
            messages << b.prompt;
            EXPECT_EQ(b.buttons, vbExclamation | vbOKOnly);
            EXPECT_EQ(b.title, QStringLiteral("Forkwise"));
        }
        dlg.CancelButton->click();
        return 0;
    });
    dropOn(*data, nullptr);
    EXPECT_EQ(messages, (QStringList{QStringLiteral("Number of Servings must be numeric."),
                                     QStringLiteral("You must select an existing Serving Size.")}));
    EXPECT_EQ(w().tvwDiet->Count(), 0);
    EXPECT_EQ(gDataSource->rscmdDietData->RecordCount(), 0);
}

TEST_F(DietLogTest, DropTargetsAreDaysForEntriesAndDaysOrEntriesForFoods) {
    prepare({QStringLiteral(
        "INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName) VALUES "
        "(5, 'USER1', '2026-12-05', 'Apple'), (6, 'USER1', '2026-12-04', 'Pear')")});
    start();
    w().tvwDiet->selectNode(day("20261205"));
    w().tvwDiet_DblClick();
    const auto foodDrag = drag(w().tvwFood, food(kCheese), false);
    EXPECT_TRUE(highlightedOver(*foodDrag, day("20261204")));
    EXPECT_TRUE(highlightedOver(*foodDrag, entry(5)));
    const auto entryDrag = drag(w().tvwDiet, entry(5), false);
    EXPECT_TRUE(highlightedOver(*entryDrag, day("20261204")));
    EXPECT_FALSE(highlightedOver(*entryDrag, entry(5)));

    // A food dropped on an entry is logged for the entry's day.
    const auto again = drag(w().tvwFood, food(kCheese), false);
    dropOn(*again, entry(5));
    EXPECT_EQ(column(lastDietId(), "DietDate").toDate(), QDate(2026, 12, 5));
    // A drag from elsewhere (not one of the trees) is ignored.
    QMimeData foreign;
    foreign.setText(QStringLiteral("Pizza"));
    const long before = gDataSource->rscmdDietData->RecordCount();
    dropOn(foreign, day("20261204"));
    EXPECT_EQ(gDataSource->rscmdDietData->RecordCount(), before);
}

TEST_F(DietLogTest, EntriesMoveBetweenDaysByDragging) {
    prepare(
        {QStringLiteral("INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName) VALUES "
                        "(5, 'USER1', '2026-12-05', 'Apple'), (6, 'USER1', '2026-12-05', 'Pear'), "
                        "(7, 'USER1', '2026-12-04', 'Fig')")});
    start();
    w().tvwDiet->selectNode(day("20261205"));
    w().tvwDiet_DblClick();

    auto data = drag(w().tvwDiet, entry(6), false);
    dropOn(*data, day("20261205")); // its own day: stays, re-sorted and selected
    EXPECT_EQ(day("20261205")->Children(), 2);
    EXPECT_EQ(w().tvwDiet->selectedNode(), entry(6));

    data = drag(w().tvwDiet, entry(5), false);
    dropOn(*data, day("20261204")); // a day never opened: shows all its entries once
    EXPECT_EQ(entry(5)->Parent(), day("20261204"));
    EXPECT_EQ(day("20261204")->Children(), 2);
    EXPECT_EQ(column(5, "DietDate").toDate(), QDate(2026, 12, 4));

    data = drag(w().tvwDiet, entry(6), false);
    dropOn(*data, day("20261204")); // the last entry of its day: the day stays, empty
    ASSERT_TRUE(day("20261205"));
    EXPECT_EQ(day("20261205")->Children(), 0);
    EXPECT_EQ(day("20261204")->Children(), 3);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(DietLogTest, EditingAnEntryRescalesItsOwnValues) {
    prepare({QStringLiteral(
        "INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, NumServings, ServingSize, "
        "Fat, Protein, Other1, USDA_NDB_NO, USDA_MSRE_NO, USDA_GM_WT) VALUES "
        "(5, 'USER1', '2026-12-05', 'Test cheese', 2, '100 g', 4, 6, NULL, 800001, 1, 100), "
        "(6, 'USER1', '2026-12-05', 'Zero', 0, '1 slice', 4, 6, NULL, 0, 0, 0)")});
    start();
    w().tvwDiet->selectNode(day("20261205"));
    w().tvwDiet_DblClick();
    click(w().tvwDiet, entry(5));

    // 2 servings to 3, same measure: times 1.5.
    answerDialog([](dlgServings& dlg) {
        EXPECT_EQ(dlg.cmbServings->currentText(), QStringLiteral("2"));
        EXPECT_EQ(dlg.cmbServSize->currentText(), QStringLiteral("100 g"));
        EXPECT_FALSE(dlg.rbPreffered->isVisibleTo(&dlg));
        dlg.cmbServings->setEditText(QStringLiteral("3"));
    });
    w().mnuEditDietEntry_Click();
    EXPECT_DOUBLE_EQ(column(5, "Fat").toDouble(), 6.0);
    EXPECT_DOUBLE_EQ(column(5, "Protein").toDouble(), 9.0);
    EXPECT_TRUE(column(5, "Other1").isNull());

    // 100 g to the 250 g measure: times 2.5, and the measure's columns follow.
    answerDialog([](dlgServings& dlg) { dlg.cmbServSize->setCurrentIndex(2); });
    w().mnuEditDietEntry_Click();
    EXPECT_DOUBLE_EQ(column(5, "Fat").toDouble(), 15.0);
    EXPECT_EQ(column(5, "ServingSize").toString(), QStringLiteral("1 cup"));
    EXPECT_EQ(column(5, "USDA_MSRE_NO").toLongLong(), 3);
    EXPECT_EQ(column(5, "USDA_GM_WT").toLongLong(), 250);

    // The 28.5 g measure is stored as 28 g; saving again unchanged does not scale again.
    answerDialog([](dlgServings& dlg) { dlg.cmbServSize->setCurrentIndex(0); });
    w().mnuEditDietEntry_Click();
    const double fat = column(5, "Fat").toDouble();
    answerDialog({});
    w().mnuEditDietEntry_Click();
    EXPECT_DOUBLE_EQ(column(5, "Fat").toDouble(), fat);

    // A new date moves the entry under its (new) day.
    answerDialog([](dlgServings& dlg) { dlg.DTDate->setDate(QDate(2026, 11, 30)); });
    w().mnuEditDietEntry_Click();
    ASSERT_TRUE(day("20261130"));
    EXPECT_EQ(entry(5)->Parent(), day("20261130"));
    EXPECT_EQ(w().tvwDiet->selectedNode(), entry(5));

    // An entry of no servings cannot be changed.
    click(w().tvwDiet, entry(6));
    answerDialog([](dlgServings& dlg) { dlg.cmbServings->setEditText(QStringLiteral("1")); });
    w().mnuEditDietEntry_Click();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt, kUpdateFailed + gSupportMsg);
    EXPECT_DOUBLE_EQ(column(6, "NumServings").toDouble(), 0.0);
    EXPECT_DOUBLE_EQ(column(6, "Fat").toDouble(), 4.0);
    ASSERT_TRUE(entry(6));

    // The only entry of a day edited without change: the day is made again.
    answerDialog({});
    click(w().tvwDiet, entry(5));
    w().mnuEditDietEntry_Click();
    EXPECT_EQ(entry(5)->Parent(), day("20261130"));
}
