// The main task without a mouse: a food logged, the entry edited and deleted, the report opened
// and a food found with keys alone; the popup menu from the keyboard, and what a screen reader
// is told about it.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "clsFWSDataSource.h"
#include "dlgServings.h"
#include "frmDietDetails.h"
#include "frmFind.h"
#include "frmReport.h"
#include "frmReportCrit.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace {
// In a dialog on the screen: the text typed into `box`, then Enter where the focus is then.
void typeAndEnter(QDialog& d, QLineEdit* box, const char* text) {
    d.show();
    QApplication::setActiveWindow(&d);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QString::fromLatin1(text));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

class KeyboardTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(12, 0)));
        prepare(
            {dietRow(1, "USER1", "2026-12-01", "Pear"),
             QStringLiteral("UPDATE TableKey SET KeyValue = 10 WHERE KeyName = 'DIETACTIVITY'")});
        start();
        w().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w()));
        w().tvwFood->setFocus(Qt::OtherFocusReason);
    }
    // Presses a key where the focus is, as the keyboard does.
    void press(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        // The window system gives the main window back its focus when a window or menu over it
        // closes; offscreen, that is done here.
        if (!QApplication::focusWidget())
            QApplication::setActiveWindow(&w());
        QWidget* focus = QApplication::focusWidget();
        ASSERT_TRUE(focus);
        QTest::keyClick(focus, k, mods);
        QApplication::processEvents();
    }
    // Tab until the focus is in `target`.
    void tabTo(QWidget* target, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        for (int i = 0; i < 8 && QApplication::focusWidget() != target; ++i)
            press(Qt::Key_Tab, mods);
        ASSERT_EQ(QApplication::focusWidget(), target);
    }
    QString entries() {
        return sql(QStringLiteral("SELECT group_concat(FoodName || ':' || NumServings, ' ') FROM "
                                  "(SELECT * FROM DietActivity ORDER BY DietId)"));
    }
};

TEST_F(KeyboardTest, AFoodIsLoggedEditedAndDeletedTheReportOpenedAndAFoodFoundByKeysAlone) {
    TreeControl* foods = w().tvwFood;
    TreeControl* diet = w().tvwDiet;

    // Into the diet tree, where nothing was selected: the day the cursor is on is selected
    // and clicked, so F7 shows its totals at once.
    tabTo(diet);
    ASSERT_TRUE(diet->selectedNode());
    EXPECT_TRUE(enabled("mnuEditDietDetails"));
    press(Qt::Key_F7);
    auto* totals = QApplication::activeWindow();
    EXPECT_TRUE(qobject_cast<frmDietDetails*>(totals));
    if (totals)
        totals->close();
    tabTo(foods, Qt::ShiftModifier);

    // The first favourite, logged with Insert; Insert in a name being typed is the name's.
    press(Qt::Key_Down);
    const QString name = foods->selectedNode()->Text();
    press(Qt::Key_F2);
    press(Qt::Key_Insert);
    press(Qt::Key_Escape);
    EXPECT_EQ(entries(), QStringLiteral("Pear:1.0"));
    press(Qt::Key_Insert);
    EXPECT_EQ(entries(), QStringLiteral("Pear:1.0 ") + name + QStringLiteral(":1.0"));

    // Edited with F8: "2" typed in the servings box, which the list completes to "2.00", and
    // one Enter saves it.
    // The new entry is selected; the arrows click it, as they click any node they reach.
    tabTo(diet);
    ASSERT_EQ(diet->selectedNode()->Text(), name);
    EXPECT_FALSE(enabled("mnuEditDietEntry"));
    press(Qt::Key_Up);
    press(Qt::Key_Down);
    answer<dlgServings>([](dlgServings& d) { typeAndEnter(d, d.cmbServings->lineEdit(), "2"); });
    press(Qt::Key_F8);
    EXPECT_EQ(entries(), QStringLiteral("Pear:1.0 ") + name + QStringLiteral(":2.0"));

    // Deleted with the Delete key and a Yes.
    boxes.answer(vbYes);
    press(Qt::Key_Delete);
    EXPECT_EQ(entries(), QStringLiteral("Pear:1.0"));

    // The report: Alt+T, P, Enter in the criteria, Escape closes it.
    int reports = 0;
    setModalHandler([&](QDialog& d) {
        if (qobject_cast<frmReportCrit*>(&d)) {
            d.show();
            QTest::keyClick(&d, Qt::Key_Return);
        } else if (qobject_cast<frmReport*>(&d)) {
            ++reports;
            d.show();
            QTest::keyClick(&d, Qt::Key_Escape);
        }
        return d.result();
    });
    QTimer::singleShot(0, [] {
        if (QWidget* menu = QApplication::activePopupWidget())
            QTest::keyClick(menu, Qt::Key_P);
    });
    press(Qt::Key_T, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(reports, 1);

    // Ctrl+F, the name typed, Enter: the food is selected in its group.
    answer<frmFind>([](frmFind& f) { typeAndEnter(f, f.txtFindName, "broccoli"); });
    press(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(foods->selectedNode());
    EXPECT_TRUE(
        foods->selectedNode()->Text().contains(QStringLiteral("Broccoli"), Qt::CaseInsensitive));
    EXPECT_EQ(w().focusWidget(), foods);
}

TEST_F(KeyboardTest, TheMenuKeyAndShiftF10OpenThePopupOfTheSelectedNodeForAScreenReaderToo) {
    setPopupHandler({}); // the real popup
    TreeControl* foods = w().tvwFood;
    press(Qt::Key_Down); // the first favourite food
    TreeNode* food = foods->selectedNode();
    QStringList shown;
    for (Qt::Key k : {Qt::Key_Menu, Qt::Key_F10}) {
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_TRUE(menu);
            // Below the node, not wherever the pointer happens to be.
            EXPECT_EQ(menu->pos().y(),
                      foods->viewport()->mapToGlobal(foods->visualItemRect(food).bottomLeft()).y());
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(menu);
            ASSERT_TRUE(a);
            EXPECT_EQ(a->role(), QAccessible::PopupMenu);
            for (int i = 0; i < a->childCount(); ++i) {
                QAccessibleInterface* item = a->child(i);
                if (item->role() == QAccessible::Separator)
                    continue;
                shown << item->text(QAccessible::Name) +
                             (item->state().disabled ? QStringLiteral(" (off)") : QString());
            }
            QTest::keyClick(menu, Qt::Key_Escape);
        });
        press(k, k == Qt::Key_F10 ? Qt::ShiftModifier : Qt::NoModifier);
    }
    const QString items = QStringLiteral(
        "New|View Diet Totals (off)|Edit Diet Entry Details (off)|Edit Food Item Details|Copy "
        "Food To Favorites (off)|Add to Diet Log|Cut|Copy|Paste (off)|Delete|Rename");
    EXPECT_EQ(shown.join(u'|'), QStringList({items, items}).join(u'|'));
    // The node click ran before the popup: the food is the current one.
    EXPECT_EQ(gDataSource->rscmdFoods->Fields(QStringLiteral("FoodName")).toString(), food->Text());
}
} // namespace
