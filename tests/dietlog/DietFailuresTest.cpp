// A data command that fails, wherever Qt called into the program: the user sees its one message,
// the window closes, and nothing touches the emptied trees afterwards (the sanitizer build would
// catch a node used after it was freed).
#include "CommandBoundary.h"
#include "DietLogFixture.h"
#include "FoodCatalog.h"
#include "frmPurgeData.h"
#include "frmReportCrit.h"

#include <QMenu>
#include <QTest>
#include <QToolBar>

namespace {
const QString kFoodFailure = QStringLiteral("Unable to retrieve Food Data.  ");
const QString kDietFailure = QStringLiteral("Unable to retrieve Diet Data.  ");
} // namespace

class DietFailuresTest : public DietLogTest {
protected:
    // Takes a table away under the open database, as a damaged file would. The rename is made
    // inside a transaction, which the closing program rolls back, so the next start finds it.
    static void breakTable(const char* table) {
        gDataSource->appDB.execute(QStringLiteral("BEGIN"));
        gDataSource->appDB.execute(
            QStringLiteral("ALTER TABLE %1 RENAME TO Missing").arg(QString::fromLatin1(table)));
    }
    // The one message of the failed command was shown and the window closed.
    void expectClosedAfter(const QString& phrase, const char* path) {
        QApplication::processEvents();
        ASSERT_EQ(boxes.boxes().size(), 1u) << path;
        EXPECT_EQ(boxes.boxes()[0].prompt, phrase + gSupportMsg) << path;
        EXPECT_TRUE(gDataSource->closed()) << path;
        EXPECT_FALSE(gMainForm && gMainForm->isVisible()) << path;
        closeWindow();
        boxes.clear();
    }
};

TEST_F(DietFailuresTest, OpeningAGroupOrADayThatCannotBeReadClosesTheWindowOnce) {
    prepare({QStringLiteral("INSERT INTO FoodGroup VALUES (500, 'Fruit', 1, 'GROUP')"),
             dietRow(1, "USER1", "2026-12-05", "Apple")});
    const auto group = [this] { return w().tvwFood->Item(QStringLiteral("G500")); };

    // {food tree?, Enter rather than a double click}, on a group or a day never opened.
    const std::pair<bool, bool> cases[] = {
        {true, false}, {true, true}, {false, false}, {false, true}};
    for (const auto& [foods, enter] : cases) {
        SCOPED_TRACE(foods ? "food tree" : "diet tree");
        start();
        TreeControl* tree = foods ? w().tvwFood : w().tvwDiet;
        TreeNode* node = foods ? group() : day("20261205");
        if (enter)
            tree->selectNode(node);
        breakTable(foods ? "FoodItem" : "DietActivity");
        if (enter)
            key(tree, Qt::Key_Return);
        else
            doubleClick(tree, node);
        expectClosedAfter(foods ? kFoodFailure : kDietFailure, enter ? "Enter" : "double click");
    }

    // The favourites' foods, read when the tree is filled (a reload of the tree, as at start).
    start();
    w().tvwFood->Clear();
    gDataSource->rscmdGroups->MoveFirst();
    breakTable("FoodItem");
    guarded([this] { w().foodCatalog().LoadFoodTree(); });
    expectClosedAfter(kFoodFailure, "filling the food tree");
}

TEST_F(DietFailuresTest, ADropOrPasteOnADayThatCannotBeReadClosesTheWindowOnce) {
    prepare(
        {dietRow(1, "USER1", "2026-12-05", "Apple"), dietRow(2, "USER1", "2026-12-04", "Pear")});
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        start();
        drag(w().tvwFood, food(kCheese), button, [this](const QMimeData& data) {
            breakTable("DietActivity");
            dropOn(data, day("20261204"));
        });
        expectClosedAfter(kDietFailure, button == Qt::LeftButton ? "food drop" : "right drop");
    }

    start();
    doubleClick(w().tvwDiet, day("20261205"));
    drag(w().tvwDiet, entry(1), Qt::LeftButton, [this](const QMimeData& data) {
        breakTable("DietActivity");
        dropOn(data, day("20261204"));
    });
    expectClosedAfter(kDietFailure, "entry drop");

    start();
    QApplication::setActiveWindow(&w());
    doubleClick(w().tvwDiet, day("20261205"));
    w().tvwDiet->setFocus(Qt::TabFocusReason);
    click(w().tvwDiet, entry(1));
    choose("mnuEditCopy");
    click(w().tvwDiet, day("20261204"));
    breakTable("DietActivity");
    choose("mnuEditPaste");
    expectClosedAfter(kDietFailure, "paste");
}

TEST_F(DietFailuresTest, AFailureEndsWhereQtCalledInWithOneMessageFromEveryKindOfEntryPoint) {
    // The next food key is the cheese's own: a pasted food cannot be written.
    prepare({dietRow(1, "USER1", "2026-12-05", "Apple"), dietRow(2, "USER1", "2026-12-04", "Pear"),
             QStringLiteral("UPDATE TableKey SET KeyValue = 800000 WHERE KeyName = 'FOODITEM'")});
    // The report's criteria are answered OK; the report itself never opens.
    const auto reportCriteria = [this] {
        answer<frmReportCrit>([](frmReportCrit& f) { f.OKButton->click(); });
    };

    start(); // a menu item
    reportCriteria();
    breakTable("DietActivity");
    choose("mnuToolsDietReport");
    expectClosedAfter(kDietFailure, "menu");

    start(); // a toolbar button, clicked
    reportCriteria();
    breakTable("DietActivity");
    QTest::mouseClick(w().tbToolBar->widgetForAction(w().action(QStringLiteral("Report"))),
                      Qt::LeftButton);
    expectClosedAfter(kDietFailure, "toolbar");

    start(); // an item of the popup menu, and the node click that opened it
    setPopupHandler([this](QMenu&, const QPoint&) { choose("mnuPop_RTB_DietDetails"); });
    breakTable("DietActivity");
    click(w().tvwDiet, day("20261205"), Qt::RightButton);
    expectClosedAfter(kDietFailure, "popup");

    start(); // a dialog's button: the purge counts the entries of its range first
    answer<frmPurgeData>([](frmPurgeData& f) { f.OKButton->click(); });
    breakTable("DietActivity");
    choose("mnuToolsPurgeDietData");
    expectClosedAfter(kDietFailure, "dialog");

    start(); // the focus arriving by keyboard on an entry: its row is looked up, for the first time
    QApplication::setActiveWindow(&w());
    doubleClick(w().tvwDiet, day("20261205"));
    w().tvwFood->setFocus(Qt::MouseFocusReason);
    w().tvwDiet->clearSelection();
    w().tvwDiet->setCurrentItem(entry(1), 0, QItemSelectionModel::NoUpdate);
    breakTable("DietActivity");
    QTest::keyClick(w().tvwFood, Qt::Key_Tab);
    expectClosedAfter(kDietFailure, "focus");

    start(); // closing the window with a paste whose save failed: asked, and failing again
    QApplication::setActiveWindow(&w());
    click(w().tvwFood, food(kCheese));
    choose("mnuEditCopy");
    choose("mnuEditPaste");
    boxes.clear();
    boxes.answer(vbYes);
    w().close();
    QApplication::processEvents();
    ASSERT_EQ(prompts(),
              QStringList({QStringLiteral("Do you want to save this new Food Item?"),
                           QStringLiteral("Unable to update Food Data.  ") + gSupportMsg}));
    EXPECT_FALSE(gMainForm);
}
