// Every item of the popup menu and every toolbar button, chosen on every kind of node through the
// real popup menu and the real toolbar: no command may crash, fail or leave the window closed,
// and after a popup command the enabled commands are those of the node now selected.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "clsFWSDataSource.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

struct NodeKind {
    const char* name;
    bool diet;
    const char* key;    // the node clicked, or for none the parent's first child
    const char* parent; // opened first, to show its foods or entries
};
const NodeKind kNodes[] = {
    {"root", false, "G1", nullptr},           {"favourites", false, "G2", nullptr},
    {"group", false, "G500", nullptr},        {"food", false, "F900001", "G500"},
    {"favourite food", false, nullptr, "G2"}, {"day", true, "DT20261206", nullptr},
    {"entry", true, "D1", "DT20261206"}};

// The popup's items, each as the object names of the actions chosen in turn (through a submenu).
const std::vector<QStringList> kPopupItems = [] {
    std::vector<QStringList> items;
    for (const char* name : {"mnuPop_RTB_NewFoodGroup", "mnuPop_RTB_NewFoodItem"})
        items.push_back({QStringLiteral("mnuPop_RTB_New"), QString::fromLatin1(name)});
    for (const char* name :
         {"mnuPop_RTB_DietDetails", "mnuPop_RTB_DietEntry", "mnuPop_RTB_FoodDetails",
          "mnuPop_RTB_FoodFav", "mnuPop_RTB_Cut", "mnuPop_RTB_Copy", "mnuPop_RTB_Paste",
          "mnuPop_RTB_Delete", "mnuPop_RTB_Rename"})
        items.push_back({QString::fromLatin1(name)});
    return items;
}();

// Whether a walk starts with the node's tree's clipboard filled by a copy.
enum class Clip { Empty, Copied };

class CommandWalkTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        setPopupHandler({}); // the real popup menu
        prepare(
            {QStringLiteral("INSERT INTO FoodGroup VALUES (500, 'Fruit', 1, 'GROUP')"),
             QStringLiteral("INSERT INTO FoodItem (FoodId, GroupId, FoodName, ServingSize) "
                            "VALUES (900001, 500, 'Cherry', '1 cup'), "
                            "(900002, 500, 'Apple', '1 medium')"),
             dietRow(1, "USER1", "2026-12-06", "Apple"), dietRow(2, "USER1", "2026-12-06", "Pear"),
             dietRow(3, "USER1", "2026-12-05", "Plum"),
             QStringLiteral("UPDATE TableKey SET KeyValue = 10 WHERE KeyName = 'DIETACTIVITY'")});
        Clock::setFixed(QDateTime(QDate(2026, 12, 6), QTime(12, 0)));
        QFile file(db.path());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        pristine = file.readAll();
        // Every dialog is answered with its default button (OK, Save, Find), or closed.
        setModalHandler([](QDialog& d) {
            for (QPushButton* b : d.findChildren<QPushButton*>())
                if (b->isDefault() && b->isEnabled() && b->isVisible()) {
                    b->click();
                    break;
                }
            return d.result();
        });
    }

    QByteArray pristine;

    TreeControl* treeOf(const NodeKind& kind) { return kind.diet ? w().tvwDiet : w().tvwFood; }

    // Starts the program, fills the clipboard of the node's tree if asked, and clicks the node.
    TreeNode* startOn(const NodeKind& kind, Clip clip) {
        // Every walk starts from the same log: the last one may have deleted or added nodes.
        QFile file(db.path());
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    file.write(pristine) == pristine.size());
        file.close();
        start();
        TreeControl* tree = treeOf(kind);
        if (kind.parent && kind.key)
            doubleClick(tree, tree->Item(QString::fromLatin1(kind.parent)));
        if (clip == Clip::Copied) {
            const char* source = kind.diet ? "D2" : "F900002";
            if (!kind.diet)
                doubleClick(tree, tree->Item(QStringLiteral("G500")));
            else if (!tree->Item(QString::fromLatin1(source)))
                doubleClick(tree, tree->Item(QStringLiteral("DT20261206")));
            click(tree, tree->Item(QString::fromLatin1(source)));
            choose("mnuEditCopy");
        }
        TreeNode* node = kind.key ? tree->Item(QString::fromLatin1(kind.key))
                                  : tree->Item(QString::fromLatin1(kind.parent))->Child(0);
        EXPECT_TRUE(node) << kind.name;
        if (node)
            click(tree, node);
        return node;
    }

    // Opens the popup menu with a right click on the node and chooses `path` in it, through
    // the keyboard of the real menu; a disabled item closes the menu with Escape instead.
    // Returns whether the item was enabled.
    bool chooseInPopup(TreeControl* tree, TreeNode* node, const QStringList& path) {
        bool chosen = false;
        std::function<void(int)> step = [&](int depth) {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) {
                ADD_FAILURE() << "no popup menu open";
                return;
            }
            QAction* a = w().action(path[depth]);
            if (!a || !a->isEnabled()) {
                QTest::keyClick(menu, Qt::Key_Escape);
                if (depth > 0)
                    QTimer::singleShot(0, [] {
                        if (QWidget* top = QApplication::activePopupWidget())
                            QTest::keyClick(top, Qt::Key_Escape);
                    });
                return;
            }
            menu->setActiveAction(a);
            if (depth + 1 < path.size())
                QTimer::singleShot(0, [&, depth] { step(depth + 1); });
            else
                chosen = true;
            QTest::keyClick(menu, Qt::Key_Return);
        };
        QTimer::singleShot(0, [&] { step(0); });
        click(tree, node, Qt::RightButton);
        return chosen;
    }

    // What is enabled now, by action name.
    QMap<QString, bool> enabling() {
        QMap<QString, bool> on;
        for (QAction* a : w().findChildren<QAction*>())
            if (!a->objectName().isEmpty() && !a->objectName().startsWith(u"qt_"))
                on[a->objectName()] = a->isEnabled();
        return on;
    }

    // The window is still open and no command failed.
    void expectAlive(const QString& what) {
        QApplication::processEvents();
        ASSERT_TRUE(gMainForm) << qPrintable(what);
        ASSERT_FALSE(gDataSource->closed()) << qPrintable(what);
        for (const RecordedBox& b : boxes.boxes())
            EXPECT_NE(b.title, QStringLiteral("Application Error"))
                << qPrintable(what) << ": " << qPrintable(b.prompt);
    }

    // Ends a label edit the command started, and closes windows it left open.
    void settle() {
        QApplication::processEvents();
        if (auto* editor = w().tvwFood->viewport()->findChild<QLineEdit*>())
            if (editor->isVisible())
                QTest::keyClick(editor, Qt::Key_Escape);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != gMainForm && top->isVisible() && top->isWindow())
                top->close();
        QApplication::processEvents();
    }
};

// The clipboard is filled before the walks of Paste only: every other command acts the same on
// either side of a copy.
Clip clipFor(const QString& command) {
    return command.endsWith(u"Paste") ? Clip::Copied : Clip::Empty;
}

TEST_F(CommandWalkTest, EveryPopupItemOnEveryKindOfNodeLeavesTheCommandsOfTheNewSelection) {
    QSet<QString> reached;
    for (const NodeKind& kind : kNodes)
        for (const QStringList& path : kPopupItems) {
            const QString what =
                path.last() + QStringLiteral(" on ") + QString::fromLatin1(kind.name);
            SCOPED_TRACE(qPrintable(what));
            TreeNode* node = startOn(kind, clipFor(path.last()));
            if (!node)
                continue;
            const bool ran = chooseInPopup(treeOf(kind), node, path);
            expectAlive(what);
            if (HasFatalFailure())
                return;
            settle();
            if (ran) {
                reached << path.last();
                // A click on the node the command left selected enables what is enabled now:
                // the command did not leave the clicked node's commands behind.
                const QMap<QString, bool> after = enabling();
                for (TreeControl* tree : {w().tvwFood, w().tvwDiet})
                    if (tree->hasFocus() && tree->selectedNode()) {
                        click(tree, tree->selectedNode());
                        const QMap<QString, bool> clicked = enabling();
                        for (auto it = clicked.cbegin(); it != clicked.cend(); ++it)
                            EXPECT_EQ(after.value(it.key()), it.value()) << qPrintable(it.key());
                    }
            }
            boxes.clear();
            closeWindow();
        }
    EXPECT_EQ(reached.size(), qsizetype(kPopupItems.size())) << "every item runs on some node";
}

TEST_F(CommandWalkTest, EveryToolbarButtonOnEveryKindOfNodeRunsWithoutAFailure) {
    start();
    QStringList buttons;
    for (QAction* a : w().tbToolBar->actions())
        if (!a->isSeparator())
            buttons << a->objectName();
    closeWindow();
    for (const NodeKind& kind : kNodes)
        for (const QString& button : buttons) {
            const QString what = button + QStringLiteral(" on ") + QString::fromLatin1(kind.name);
            SCOPED_TRACE(qPrintable(what));
            if (!startOn(kind, clipFor(button)))
                continue;
            QAction* a = w().action(button);
            ASSERT_TRUE(a);
            if (a->isEnabled()) {
                QTest::mouseClick(w().tbToolBar->widgetForAction(a), Qt::LeftButton);
                expectAlive(what);
                if (HasFatalFailure())
                    return;
            }
            settle();
            boxes.clear();
            closeWindow();
        }
}

} // namespace
