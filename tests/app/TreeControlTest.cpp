// The tree-control layer on real widgets: nodes by key, sorting on request in the database's
// collation, which selections notify, either-button drags between two trees, label editing.
#include "TreeControl.h"
#include "Icons.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace {

// The names in the order SQLite's ORDER BY ... COLLATE NOCASE gives them, bound as parameters.
QStringList sqlNoCaseOrder(const QStringList& names) {
    QByteArray sql = "SELECT column1 FROM (VALUES (?)";
    sql += QByteArray(",(?)").repeated(names.size() - 1) + ") ORDER BY 1 COLLATE NOCASE";
    sqlite3* db = nullptr;
    sqlite3_stmt* query = nullptr;
    sqlite3_open(":memory:", &db);
    sqlite3_prepare_v2(db, sql.constData(), -1, &query, nullptr);
    for (int i = 0; i < names.size(); ++i)
        sqlite3_bind_text(query, i + 1, names[i].toUtf8().constData(), -1, SQLITE_TRANSIENT);
    QStringList out;
    while (sqlite3_step(query) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query, 0)));
    sqlite3_finalize(query);
    sqlite3_close(db);
    return out;
}

QStringList texts(QTreeWidgetItem* parent) {
    QStringList out;
    for (int i = 0; i < parent->childCount(); ++i)
        out << parent->child(i)->text(0);
    return out;
}

class TreeControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        for (TreeControl** tree : {&food, &diet}) {
            *tree = new TreeControl(&window);
            (*tree)->setObjectName(*tree == food ? u"tvwFood"_s : u"tvwDiet"_s);
            layout->addWidget(*tree);
            record(*tree);
        }
        window.resize(300, 500);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // The notifications the drag and click handlers rely on.
    void record(TreeControl* tree) {
        const auto note = [this, tree](const QString& what) {
            log << tree->objectName() + u' ' + what;
        };
        QObject::connect(tree, &TreeControl::NodeClick, tree, [=](TreeNode* n) {
            note(u"NodeClick "_s + n->Key() + (tree->startingDrag() ? u" drag"_s : u""_s));
        });
        QObject::connect(tree, &TreeControl::MouseDown, tree,
                         [=](int button, int, int, int) { note(u"MouseDown %1"_s.arg(button)); });
        QObject::connect(tree, &TreeControl::OLEStartDrag, tree, [=](QMimeData* data, auto&) {
            note(u"OLEStartDrag %1 %2"_s.arg(TreeControl::dragSourceName(data),
                                             TreeControl::dragKey(data)));
        });
        QObject::connect(tree, &TreeControl::OLEDragDrop, tree,
                         [=](const QMimeData* data, auto&, int button, int, int x, int y) {
                             TreeNode* on = tree->hitTest(x, y);
                             note(u"OLEDragDrop %1 button %2 on %3"_s.arg(
                                 TreeControl::dragKey(data), QString::number(button),
                                 on ? on->Key() : u"nothing"_s));
                         });
        QObject::connect(tree, &TreeControl::OLECompleteDrag, tree,
                         [=](Qt::DropAction) { note(u"OLECompleteDrag"_s); });
    }

    // Fruit > Apple in the food tree, selected, and two days in the diet tree.
    TreeNode* addApple() {
        food->Add({}, u"G1"_s, u"Fruit"_s);
        TreeNode* apple = food->Add(u"G1"_s, u"F5"_s, u"Apple"_s);
        food->selectNode(apple);
        diet->Add({}, u"DT1"_s, u"2026-12-04"_s);
        day = diet->Add({}, u"DT2"_s, u"2026-12-05"_s);
        return apple;
    }

    // Drags the apple onto the second day with each button; the handlers drop it.
    void dragWithEitherButton(TreeNode* apple) {
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            QTest::qWait(100); // the previous drag's window and grab go away
            log.clear();
            pressAndPull(food, apple, button);
            const QString held = QString::number(treeButtonOf(button));
            EXPECT_EQ(log,
                      (QStringList{u"tvwFood MouseDown "_s + held, u"tvwFood NodeClick F5 drag"_s,
                                   u"tvwFood OLEStartDrag tvwFood F5"_s,
                                   u"tvwDiet OLEDragDrop F5 button "_s + held + u" on DT2"_s,
                                   u"tvwFood OLECompleteDrag"_s}));
        }
    }

    static QPoint at(TreeControl* tree, TreeNode* node) {
        return tree->visualItemRect(node).center();
    }

    // Mouse events QTest cannot send to a widget: moves with buttons held, releases in a drag.
    static void mouse(TreeControl* tree, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons held) {
        QMouseEvent event(type, pos, tree->viewport()->mapToGlobal(pos), button, held, {});
        QApplication::sendEvent(tree->viewport(), &event);
    }

    static void pressAndPull(TreeControl* tree, TreeNode* node, Qt::MouseButton button) {
        QTest::mousePress(tree->viewport(), button, {}, at(tree, node));
        const QPoint away = at(tree, node) + QPoint(0, QApplication::startDragDistance() + 2);
        mouse(tree, QEvent::MouseMove, away, Qt::NoButton, button);
    }

    // What a drag over `tree` would deliver: enter, then drop, at the node.
    static void dropOn(TreeControl* tree, TreeNode* node, const QMimeData* data) {
        const QPoint pos = at(tree, node);
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(pos, actions, data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &enter);
        QDropEvent drop(pos, actions, data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &drop);
    }

    QWidget window;
    TreeControl* food = nullptr;
    TreeControl* diet = nullptr;
    TreeNode* day = nullptr;
    QStringList log;
};

TEST_F(TreeControlTest, NodesAreFoundByKeyAndSortedOnlyWhenAskedAsSqlNoCaseSorts) {
    const QStringList names{u"apple"_s,       u"Banana"_s,     u"cherry"_s, u"_x"_s,
                            u"Zed"_s,         u"ab"_s,         u"ABC d"_s,  u"\u00c4pfel"_s,
                            u"\u00e9clair"_s, u"\U0001F34E"_s, u"\uFF21"_s, u"[bracket"_s};
    for (const QString& name : names)
        food->Add({}, name, name);
    TreeNode* group = food->Item(u"Zed"_s);
    for (const QString& name : {u"cherry"_s, u"apple"_s, u"Banana"_s})
        food->Add(u"Zed"_s, u"F"_s + name, name);
    // A duplicate key and a missing relative node add nothing.
    EXPECT_FALSE(food->Add({}, u"Fapple"_s, u"Other apple"_s));
    EXPECT_FALSE(food->Add(u"G99"_s, u"F8"_s, u"Orphan"_s));
    EXPECT_EQ(food->Count(), 15);

    food->sortTopLevel();
    EXPECT_EQ(texts(food->invisibleRootItem()), sqlNoCaseOrder(names));
    EXPECT_EQ(texts(group), (QStringList{u"cherry"_s, u"apple"_s, u"Banana"_s}));
    food->sortChildren(group);
    EXPECT_EQ(texts(group), (QStringList{u"apple"_s, u"Banana"_s, u"cherry"_s}));
    food->Add({}, u"aardvark"_s, u"aardvark"_s);
    EXPECT_EQ(texts(food->invisibleRootItem()).last(), u"aardvark"_s);

    // Removing a group takes its descendants, their keys and the drop highlight along.
    food->setDropHighlight(food->Item(u"Fapple"_s));
    food->Remove(group);
    EXPECT_FALSE(food->Item(u"Fapple"_s));
    EXPECT_FALSE(food->dropHighlight());
    EXPECT_EQ(food->Count(), 12);
    EXPECT_TRUE(food->Add(u"ab"_s, u"Fapple"_s, u"apple"_s));
    food->Clear();
    EXPECT_EQ(food->Count(), 0);
    EXPECT_TRUE(food->Add({}, u"ab"_s, u"ab"_s));
}

TEST_F(TreeControlTest, ClicksKeysAndDragsWithEitherButtonNotifyTheHandlers) {
    TreeNode* apple = addApple();
    TreeNode* pear = food->Add(u"G1"_s, u"F6"_s, u"Pear"_s);
    EXPECT_TRUE(food->Item(u"G1"_s)->isExpanded());
    EXPECT_TRUE(log.isEmpty()) << "a selection by the program is no click";
    const auto click = [this](Qt::MouseButton button, QPoint pos) {
        log.clear();
        QTest::mouseClick(food->viewport(), button, {}, pos);
    };
    click(Qt::LeftButton, at(food, pear));
    EXPECT_EQ(log, (QStringList{u"tvwFood MouseDown 1"_s, u"tvwFood NodeClick F6"_s}));
    log.clear();
    QTest::keyClick(food, Qt::Key_Up);
    EXPECT_EQ(log, QStringList{u"tvwFood NodeClick F5"_s});
    click(Qt::RightButton, at(food, pear));
    EXPECT_EQ(log, (QStringList{u"tvwFood MouseDown 2"_s, u"tvwFood NodeClick F6"_s}));
    click(Qt::LeftButton, QPoint(40, food->viewport()->height() - 2)); // below the last node
    EXPECT_EQ(log, QStringList{u"tvwFood MouseDown 1"_s});
    EXPECT_EQ(food->selectedNode(), pear);

    // As the window does, the node click switches dragging on for foods only.
    QObject::connect(food, &TreeControl::NodeClick, food,
                     [this](TreeNode* n) { food->setAutoDrag(n->Key().startsWith(u'F')); });
    QObject::connect(food, &TreeControl::OLEStartDrag, food,
                     [this](QMimeData* data, auto&) { dropOn(diet, day, data); });
    dragWithEitherButton(apple);

    // The same data arriving when no tree is dragging came from elsewhere: ignored.
    log.clear();
    QMimeData stray;
    stray.setData(TreeControl::mimeType(), "tvwFood\nF5");
    dropOn(diet, day, &stray);
    EXPECT_TRUE(log.isEmpty());

    // A group is clicked once and not dragged.
    pressAndPull(food, food->Item(u"G1"_s), Qt::LeftButton);
    QTest::mouseRelease(food->viewport(), Qt::LeftButton, {}, at(food, food->Item(u"G1"_s)));
    EXPECT_EQ(log, (QStringList{u"tvwFood MouseDown 1"_s, u"tvwFood NodeClick G1 drag"_s}));
}

// The platform's drag loop, which offscreen does not run: ctest runs this case under xvfb-run.
TEST_F(TreeControlTest, DragsRunOnARealDisplayWithEitherButton) {
    if (QGuiApplication::platformName() != u"xcb"_s)
        GTEST_SKIP() << "needs an X display";
    TreeNode* apple = addApple();
    food->setAutoDrag(true);
    // Inside the drag loop: the pointer goes to the day and the button comes up there.
    QObject::connect(food, &TreeControl::OLEStartDrag, food, [this](QMimeData*, auto&) {
        const QPoint target = at(diet, day);
        const Qt::MouseButton button =
            food->dragButton() == TreeButton::Left ? Qt::LeftButton : Qt::RightButton;
        QTimer::singleShot(
            100, diet, [=, this] { mouse(diet, QEvent::MouseMove, target, Qt::NoButton, button); });
        QTimer::singleShot(200, diet, [=, this] {
            mouse(diet, QEvent::MouseButtonRelease, target, button, Qt::NoButton);
        });
    });
    dragWithEitherButton(apple);
}

TEST_F(TreeControlTest, LabelEditEndsInAHandlerThatMayRefuse) {
    TreeNode* group = food->Add({}, u"G3"_s, u"New Food Group"_s);
    bool refuse = false;
    int calls = 0;
    QObject::connect(food, &TreeControl::AfterLabelEdit, food, [&](bool& cancel, QString& text) {
        ++calls;
        cancel = refuse;
        text = text.left(6);
    });
    food->selectNode(group);
    auto edit = [&](const QString& typed, Qt::Key end) {
        food->startLabelEdit();
        auto* editor = food->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(typed);
        QTest::keyClick(editor, end);
        QTRY_VERIFY(food->viewport()->findChild<QLineEdit*>() == nullptr);
    };

    edit(u"Vegetables"_s, Qt::Key_Return);
    EXPECT_EQ(group->Text(), u"Vegeta"_s);
    refuse = true;
    edit(u"Grains"_s, Qt::Key_Return);
    edit(u"Nuts"_s, Qt::Key_Escape);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(group->Text(), u"Vegeta"_s);
}

TEST(Icons, EveryPictureKeyHasItsPicture) {
    EXPECT_EQ(smallIconKeys().size(), 13);
    for (const QString& key : smallIconKeys())
        EXPECT_EQ(smallIcon(key).pixmap(16).size(), QSize(16, 16)) << key.toStdString();
    for (const QString& key : toolbarIconKeys())
        EXPECT_EQ(toolbarIcon(key).pixmap(22).size(), QSize(22, 22)) << key.toStdString();
    EXPECT_FALSE(applicationIcon().isNull());
}

} // namespace
