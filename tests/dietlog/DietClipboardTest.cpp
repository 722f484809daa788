// Deleting entries and days, and cutting, copying and pasting entries.
#include "DietLogFixture.h"
#include "Snapshot.h"
#include "SqlProbe.h"
#include "frmOptions.h"
#include "frmPurgeData.h"

#include <QFile>
#include <QMenu>

class DietClipboardTest : public DietLogTest {
protected:
    // Starts the program, opens the days and gives the diet tree the focus.
    void startIn(std::initializer_list<const char*> days) {
        start();
        QApplication::setActiveWindow(&w());
        for (const char* d : days)
            doubleClick(w().tvwDiet, day(d));
        w().tvwDiet->setFocus(Qt::TabFocusReason);
    }
    // Makes the user in the given place current in Tools > Configuration Options.
    void becomeUser(int place) {
        answer<frmOptions>([place](frmOptions& f) {
            f.optUser[place]->setChecked(true);
            f.cmdOK->click();
        });
        choose("mnuToolsOptions");
    }
};

TEST_F(DietClipboardTest, DeletingEntriesMovesTheSelectionUpAndNoAnswerChangesNothing) {
    prepare({dietRow(1, "USER1", "2026-12-04", "Only"), dietRow(2, "USER1", "2026-12-05", "Apple"),
             dietRow(3, "USER1", "2026-12-05", "Banana"),
             dietRow(4, "USER1", "2026-12-05", "Cherry")});
    startIn({"20261204", "20261205"});
    TreeControl* t = w().tvwDiet;

    click(t, entry(3));
    boxes.answer(vbNo);
    choose("mnuEditDelete");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].prompt,
              QStringLiteral("Are you sure you want to Delete the selected Diet Entry?"));
    EXPECT_TRUE(entry(3));

    choose("mnuEditDelete"); // middle entry: the one above is selected
    EXPECT_FALSE(entry(3));
    EXPECT_EQ(t->selectedNode(), entry(2));
    // From the popup: it opens once, for the right click, not again for the entry selected next.
    setPopupHandler([this](QMenu& menu, const QPoint&) {
        ++popups;
        menu.findChild<QAction*>(QStringLiteral("mnuPop_RTB_Delete"))->trigger();
    });
    click(t, entry(2), Qt::RightButton); // first entry: its day is selected
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(t->selectedNode(), day("20261205"));
    setPopupHandler({});
    click(t, entry(4));
    choose("mnuEditDelete"); // the only entry: the day above is selected, the day goes
    EXPECT_FALSE(day("20261205"));
    EXPECT_EQ(t->selectedNode(), day("20261204"));
    EXPECT_EQ(entryCount(), 1);

    click(t, entry(1));
    choose("mnuEditDelete"); // the last entry of the log: the food tree takes the focus
    EXPECT_EQ(t->Count(), 0);
    EXPECT_TRUE(w().tvwFood->hasFocus());
    EXPECT_FALSE(enabled("mnuEditDelete")) << "the food tree's commands for its favourites";
}

TEST_F(DietClipboardTest, DeletingADayAsksWithItsDateAndRemovesOnlyThisUsersEntries) {
    prepare({dietRow(1, "USER1", "2026-12-05", "Apple"), dietRow(2, "USER1", "2026-12-05", "Pear"),
             dietRow(3, "USER2", "2026-12-05", "Theirs"),
             dietRow(4, "USER1", "2026-12-06", "Fig")});
    startIn({});
    click(w().tvwDiet, day("20261205"));
    boxes.answer(vbNo);
    choose("Delete");
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Are you sure you want to Delete all Diet Data for 12/05/2026?"));
    EXPECT_TRUE(day("20261205"));
    // Yes, but no checked copy of the log can be made: nothing is deleted, and the user is told.
    const QString backups = blockBackups();
    choose("Delete");
    EXPECT_TRUE(boxes.boxes().back().prompt.startsWith(
        QStringLiteral("A checked backup copy of the diet log could not be made, so nothing")));
    EXPECT_TRUE(day("20261205"));
    ASSERT_TRUE(QFile::remove(backups));
    choose("Delete");
    EXPECT_FALSE(day("20261205"));
    EXPECT_EQ(entryCount(), 1);
    // The copy before the deletion holds the day; closing leaves a copy of what is left.
    closeWindow();
    const QList<BackupInfo> copies = listBackups(db.path());
    ASSERT_EQ(copies.size(), 2);
    const auto entries = [](const QString& path) {
        return queryValue(path, QStringLiteral("SELECT count(*) FROM DietActivity")).toInt();
    };
    EXPECT_EQ(entries(copies[1].path), 4);
    EXPECT_EQ(entries(copies[0].path), 2);
    EXPECT_EQ(entries(db.path()), 2);
}

TEST_F(DietClipboardTest, CutAndPasteMovesAnEntryWithANewIdAndKeepsItsNullValues) {
    prepare({dietRow(1, "USER1", "2026-12-05", "Apple"), dietRow(2, "USER1", "2026-12-04", "Pear"),
             dietRow(3, "USER1", "2026-12-03", "Fig"), dietRow(4, "USER2", "2026-12-01", "Toast"),
             QStringLiteral("UPDATE TableKey SET KeyValue = 10 WHERE KeyName = 'DIETACTIVITY'")});
    startIn({"20261205"});
    TreeControl* t = w().tvwDiet;
    click(t, entry(1));
    EXPECT_FALSE(enabled("mnuEditPaste"));
    choose("mnuEditCut");
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Are you sure you want to Cut the selected Diet Entry?"));
    EXPECT_FALSE(entry(1));
    EXPECT_TRUE(enabled("mnuEditPaste"));

    click(t, day("20261204")); // never opened
    choose("Paste");
    EXPECT_EQ(lastDietId(), 11);
    EXPECT_EQ(t->selectedNode(), entry(11));
    EXPECT_EQ(day("20261204")->Children(), 2);
    EXPECT_EQ(columns(11, "DietDate Fat Protein"), QStringLiteral("2026-12-04|2|"));

    // Pasting onto an entry goes into that entry's day; pasting twice gives two copies.
    doubleClick(t, day("20261203"));
    click(t, entry(3));
    choose("mnuEditPaste");
    choose("mnuEditPaste");
    EXPECT_EQ(day("20261203")->Children(), 3);
    EXPECT_EQ(boxes.boxes().size(), 1u);

    // Copy leaves the entry. Another user becomes current: the log shows USER2's days, and the
    // copy is pasted as USER2's.
    click(t, entry(3));
    choose("Copy");
    EXPECT_TRUE(entry(3));
    becomeUser(1);
    EXPECT_FALSE(day("20261203"));
    click(t, day("20261201"));
    choose("mnuEditPaste");
    EXPECT_EQ(columns(lastDietId(), "UserName FoodName"), QStringLiteral("USER2|Fig"));
    EXPECT_EQ(day("20261201")->Children(), 2);

    // A user without entries: an empty tree, its commands off, the food tree in front.
    becomeUser(2);
    EXPECT_EQ(t->Count(), 0);
    EXPECT_FALSE(enabled("mnuEditDietEntry"));
    EXPECT_TRUE(w().tvwFood->hasFocus());
}

TEST_F(DietClipboardTest, TheLogKeepsADayWhileItHasAnEntryThroughEveryKindOfWrite) {
    prepare({dietRow(1, "USER1", "2026-12-05", "Apple"), dietRow(2, "USER1", "2026-12-04", "Pear"),
             dietRow(3, "USER2", "2026-12-04", "Theirs"),
             QStringLiteral("UPDATE TableKey SET KeyValue = 10 WHERE KeyName = 'DIETACTIVITY'")});
    startIn({"20261205", "20261204"});
    TreeControl* t = w().tvwDiet;
    const QString listed = QStringLiteral(
        "SELECT group_concat(UserName || ' ' || substr(DietDate, 9), ', ') FROM (SELECT "
        "UserName, DietDate FROM %1 ORDER BY 1, 2)");
    const auto days = [&](const char* after, const char* expected) {
        SCOPED_TRACE(after);
        EXPECT_EQ(sql(listed.arg(QStringLiteral("DietDay"))),
                  sql(listed.arg(QStringLiteral("(SELECT DISTINCT UserName, DietDate FROM "
                                                "DietActivity)"))));
        EXPECT_EQ(sql(listed.arg(QStringLiteral("DietDay"))), QString::fromLatin1(expected));
    };
    days("the start", "USER1 04, USER1 05, USER2 04");

    dragTo(w().tvwFood, food(kCheese), Qt::LeftButton, nullptr); // today, the 6th
    days("a food dropped on a new day", "USER1 04, USER1 05, USER1 06, USER2 04");
    dragTo(t, entry(1), Qt::LeftButton, day("20261204"));
    days("the only entry of a day moved", "USER1 04, USER1 06, USER2 04");
    click(t, entry(11));
    answerDialog([](dlgServings& dlg) { dlg.DTDate->setDate(QDate(2026, 12, 1)); });
    choose("mnuEditDietEntry");
    days("an entry given another date", "USER1 01, USER1 04, USER2 04");
    click(t, entry(11));
    choose("mnuEditCut");
    days("the only entry of a day cut", "USER1 04, USER2 04");
    click(t, day("20261204"));
    choose("mnuEditCopy");
    click(t, day("20261205")); // left in the tree, empty, by the move
    choose("mnuEditPaste");
    days("a day's entries pasted on a day without entries", "USER1 04, USER1 05, USER2 04");
    click(t, entry(2));
    choose("mnuEditDelete");
    days("one of two entries of a day deleted", "USER1 04, USER1 05, USER2 04");
    click(t, day("20261205"));
    choose("Delete");
    days("a day deleted", "USER1 04, USER2 04");

    answer<frmPurgeData>([](frmPurgeData& f) {
        f.dtLoDate->setDate(QDate(2026, 12, 1));
        f.dtHighDate->setDate(QDate(2026, 12, 31));
        f.OKButton->click();
    });
    choose("mnuToolsPurgeDietData");
    days("a purge", "USER2 04");
    EXPECT_TRUE(prompts().filter(QStringLiteral("Unable")).isEmpty());
}

TEST_F(DietClipboardTest, CopyOnADayPastesAllOfThisUsersEntriesOfItAsNewOnesOnAnyDay) {
    prepare({dietRow(1, "USER1", "2026-12-05", "Banana"),
             dietRow(2, "USER1", "2026-12-05", "Apple"),
             dietRow(3, "USER2", "2026-12-05", "Theirs"), dietRow(4, "USER1", "2026-12-04", "Pear"),
             dietRow(5, "USER1", "2026-12-03", "Fig"), dietRow(6, "USER1", "2026-12-02", "Kiwi"),
             dietRow(7, "USER2", "2026-12-01", "Toast"),
             QStringLiteral("UPDATE DietActivity SET NumServings = 1.5, ServingSize = '1 cup', "
                            "GroupName = 'Fruit', Calorie = 95.5, Other2 = 3, USDA_NDB_NO = 9003, "
                            "USDA_MSRE_NO = 2, USDA_GM_WT = 182 WHERE DietId = 2"),
             QStringLiteral("UPDATE TableKey SET KeyValue = 10 WHERE KeyName = 'DIETACTIVITY'")});
    startIn({"20261202"});
    TreeControl* t = w().tvwDiet;
    const auto copyOn = [this] {
        return enabled("mnuEditCopy") && enabled("mnuPop_RTB_Copy") && enabled("Copy");
    };
    // A day left empty by moving its only entry away has nothing to copy.
    dragTo(t, entry(6), Qt::LeftButton, day("20261203"));
    click(t, day("20261202"));
    EXPECT_FALSE(copyOn());
    // A day never opened is copied by what the log holds; Cut stays an entry's.
    click(t, day("20261205"));
    EXPECT_TRUE(copyOn());
    EXPECT_FALSE(enabled("mnuEditCut") || enabled("mnuPop_RTB_Cut") || enabled("Cut"));
    EXPECT_FALSE(enabled("mnuEditPaste"));
    key(t, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(enabled("mnuEditPaste"));

    // Onto a day never opened: its own entry and the copies (not the other user's), the first
    // copy selected and current.
    click(t, day("20261204"));
    choose("mnuEditPaste");
    EXPECT_EQ(lastDietId(), 12);
    EXPECT_EQ(day("20261204")->Children(), 3);
    ASSERT_EQ(t->selectedNode(), entry(11));
    EXPECT_EQ(entry(11)->Text(), QStringLiteral("Apple"));
    EXPECT_EQ(gDataSource->rscmdDietData->Fields(QStringLiteral("DietId")).toLongLong(), 11);
    EXPECT_TRUE(enabled("mnuEditDietEntry") && enabled("mnuEditCut"));
    const char* kAll = "UserName FoodName GroupName ServingSize NumServings Fat Protein "
                       "Carbohydrate Calorie Sodium Cholesterol Other1 Other2 USDA_NDB_NO "
                       "USDA_MSRE_NO USDA_GM_WT";
    EXPECT_EQ(columns(11, kAll), columns(2, kAll));
    EXPECT_EQ(columns(12, kAll), columns(1, kAll));
    EXPECT_EQ(sql(QStringLiteral("SELECT group_concat(DISTINCT DietDate) FROM DietActivity WHERE "
                                 "DietId > 10")),
              QStringLiteral("2026-12-04"));

    // Onto an entry, from its popup, into the entry's day; again from the toolbar: two copies.
    setPopupHandler([](QMenu& menu, const QPoint&) {
        menu.findChild<QAction*>(QStringLiteral("mnuPop_RTB_Paste"))->trigger();
    });
    click(t, entry(5), Qt::RightButton);
    setPopupHandler({});
    EXPECT_EQ(t->selectedNode(), entry(13));
    choose("Paste");
    EXPECT_EQ(day("20261203")->Children(), 6);
    EXPECT_EQ(t->selectedNode(), entry(15));
    EXPECT_EQ(boxes.boxes().size(), 0u);

    // After a change of user the copies are the new user's.
    becomeUser(1);
    click(t, day("20261201"));
    choose("mnuEditPaste");
    EXPECT_EQ(sql(QStringLiteral("SELECT group_concat(UserName || ' ' || FoodName, ', ') FROM "
                                 "(SELECT * FROM DietActivity WHERE DietDate = '2026-12-01' "
                                 "ORDER BY DietId)")),
              QStringLiteral("USER2 Toast, USER2 Apple, USER2 Banana"));
    EXPECT_EQ(day("20261201")->Children(), 3);
}
