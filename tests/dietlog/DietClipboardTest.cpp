// Deleting entries and days, and cutting, copying and pasting entries.
#include "Config.h"
#include "DietLogFixture.h"

TEST_F(DietLogTest, DeletingEntriesMovesTheSelectionUpAndNoAnswerChangesNothing) {
    prepare({dietRow(1, "USER1", "2026-12-04", "Only"), dietRow(2, "USER1", "2026-12-05", "Apple"),
             dietRow(3, "USER1", "2026-12-05", "Banana"),
             dietRow(4, "USER1", "2026-12-05", "Cherry"),
             QStringLiteral("UPDATE TableKey SET KeyValue = 10 WHERE KeyName = 'DIETACTIVITY'")});
    start();
    TreeControl* t = w().tvwDiet;
    for (const char* d : {"20261204", "20261205"}) {
        t->selectNode(day(d));
        w().tvwDiet_DblClick();
    }
    t->setFocus(Qt::TabFocusReason);
    w().strActiveTree = QStringLiteral("DIET");

    click(t, entry(3));
    boxes.answer(vbNo);
    w().mnuEditDelete_Click();
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt,
              QStringLiteral("Are you sure you want to Delete the selected Diet Entry?"));
    EXPECT_EQ(boxes.boxes()[0].buttons, vbYesNo);
    EXPECT_TRUE(entry(3));

    w().mnuEditDelete_Click(); // middle entry: the one above is selected
    EXPECT_FALSE(entry(3));
    EXPECT_EQ(t->selectedNode(), entry(2));
    w().mnuEditDelete_Click(); // first entry: its day is selected
    EXPECT_EQ(t->selectedNode(), day("20261205"));
    click(t, entry(4));
    w().mnuEditDelete_Click(); // the only entry: the day above is selected, the day goes
    EXPECT_FALSE(day("20261205"));
    EXPECT_EQ(t->selectedNode(), day("20261204"));
    EXPECT_EQ(gDataSource->rscmdDietData->RecordCount(), 1);

    click(t, entry(1));
    w().mnuEditDelete_Click(); // the last entry of the log: the food tree takes the focus
    EXPECT_EQ(t->Count(), 0);
    EXPECT_TRUE(w().tvwFood->hasFocus() || QApplication::focusWidget() == nullptr);
    EXPECT_EQ(w().strActiveTree, QStringLiteral("FOODS"));
}

TEST_F(DietLogTest, DeletingADayAsksWithItsDateAndRemovesOnlyThisUsersEntries) {
    prepare({dietRow(1, "USER1", "2026-12-05", "Apple"), dietRow(2, "USER1", "2026-12-05", "Pear"),
             dietRow(3, "USER2", "2026-12-05", "Theirs"),
             dietRow(4, "USER1", "2026-12-06", "Fig")});
    start();
    w().strActiveTree = QStringLiteral("DIET");
    w().tvwDiet->selectNode(day("20261205"));
    boxes.answer(vbNo);
    w().DeleteSelected();
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Are you sure you want to Delete all Diet Data for 12/05/2026?"));
    EXPECT_TRUE(day("20261205"));
    w().DeleteSelected();
    EXPECT_FALSE(day("20261205"));
    EXPECT_EQ(gDataSource->rscmdDietData->RecordCount(), 1);
    closeWindow();
    EXPECT_EQ(queryValue(db.path(), QStringLiteral("SELECT count(*) FROM DietActivity")).toInt(),
              2);
}

TEST_F(DietLogTest, CutAndPasteMovesAnEntryWithANewIdAndKeepsItsNullValues) {
    prepare({dietRow(1, "USER1", "2026-12-05", "Apple"), dietRow(2, "USER1", "2026-12-04", "Pear"),
             dietRow(3, "USER1", "2026-12-03", "Fig"),
             QStringLiteral("UPDATE TableKey SET KeyValue = 10 WHERE KeyName = 'DIETACTIVITY'")});
    start();
    TreeControl* t = w().tvwDiet;
    t->selectNode(day("20261205"));
    w().tvwDiet_DblClick();
    w().strActiveTree = QStringLiteral("DIET");
    click(t, entry(1));
    EXPECT_FALSE(w().DietClipValid);
    w().mnuEditCut_Click();
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Are you sure you want to Cut the selected Diet Entry?"));
    EXPECT_FALSE(entry(1));
    EXPECT_TRUE(w().DietClipValid);
    EXPECT_TRUE(enabled("mnuEditPaste"));

    t->selectNode(day("20261204")); // never opened
    w().mnuEditPaste_Click();
    EXPECT_EQ(lastDietId(), 11);
    EXPECT_EQ(t->selectedNode(), entry(11));
    EXPECT_EQ(day("20261204")->Children(), 2);
    EXPECT_EQ(column(11, "DietDate").toDate(), QDate(2026, 12, 4));
    EXPECT_DOUBLE_EQ(column(11, "Fat").toDouble(), 2.0);
    EXPECT_TRUE(column(11, "Protein").isNull());

    // Pasting onto an entry goes into that entry's day; pasting twice gives two copies.
    t->selectNode(day("20261203"));
    w().tvwDiet_DblClick();
    t->selectNode(entry(3));
    w().mnuEditPaste_Click();
    w().mnuEditPaste_Click();
    EXPECT_EQ(day("20261203")->Children(), 3);
    EXPECT_TRUE(boxes.boxes().size() == 1u);
}

TEST_F(DietLogTest, AnEntryCopiedForOneUserIsPastedForTheUserCurrentThen) {
    prepare({dietRow(1, "USER1", "2026-12-05", "Apple"), dietRow(2, "USER2", "2026-12-01", "Toast"),
             QStringLiteral("UPDATE TableKey SET KeyValue = 10 WHERE KeyName = 'DIETACTIVITY'")});
    start();
    w().tvwDiet->selectNode(day("20261205"));
    w().tvwDiet_DblClick();
    w().strActiveTree = QStringLiteral("DIET");
    click(w().tvwDiet, entry(1));
    w().mnuEditCopy_Click();
    EXPECT_TRUE(entry(1)); // copy leaves the entry

    // Switch the current user the way the options do: reload the log for USER2.
    gCurrentUser = QStringLiteral("USER2");
    w().tvwDiet->Clear();
    gDataSource->cmdDietData(gCurrentUser);
    w().LoadDietDates();
    w().tvwDiet->selectNode(day("20261201"));
    w().mnuEditPaste_Click();
    EXPECT_EQ(column(11, "UserName").toString(), QStringLiteral("USER2"));
    EXPECT_EQ(column(11, "FoodName").toString(), QStringLiteral("Apple"));
    EXPECT_EQ(day("20261201")->Children(), 2);
}
