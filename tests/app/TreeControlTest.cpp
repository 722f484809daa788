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

// Readable failure messages for texts and lists of texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace {

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

    // Writes the notifications the drag and click handlers rely on into the log.
    void record(TreeControl* tree) {
        auto note = [this, name = tree->objectName()](const QString& what) {
            log << name + u' ' + what;
        };
        QObject::connect(tree, &TreeControl::NodeClick, tree, [=](TreeNode* n) {
            note(u"NodeClick "_s + n->Key() + (tree->startingDrag() ? u" drag"_s : u""_s));
        });
        QObject::connect(tree, &TreeControl::MouseDown, tree, [=](int button, int, int, int) {
            note(u"MouseDown "_s + QString::number(button));
        });
        QObject::connect(tree, &TreeControl::OLEStartDrag, tree, [=](QMimeData* data, auto&) {
            note(u"OLEStartDrag "_s + TreeControl::dragSourceName(data) + u' ' +
                 TreeControl::dragKey(data));
        });
        QObject::connect(tree, &TreeControl::OLEDragDrop, tree,
                         [=, this](const QMimeData* data, auto&, int button, int, int x, int y) {
                             note(u"OLEDragDrop "_s + TreeControl::dragKey(data) + u" button "_s +
                                  QString::number(button));
                             dropPoint = QPoint(x, y);
                         });
        QObject::connect(tree, &TreeControl::OLECompleteDrag, tree,
                         [=](Qt::DropAction) { note(u"OLECompleteDrag"_s); });
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

    // Presses the node and moves the mouse far enough for a drag.
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

    static QStringList texts(QTreeWidgetItem* parent) {
        QStringList out;
        for (int i = 0; i < parent->childCount(); ++i)
            out << parent->child(i)->text(0);
        return out;
    }

    QWidget window;
    TreeControl* food = nullptr;
    TreeControl* diet = nullptr;
    QStringList log;
    QPoint dropPoint;
};

TEST_F(TreeControlTest, KeyIndexFollowsAddRemoveAndClear) {
    ASSERT_NE(food->Add({}, u"G1"_s, u"Root"_s, u"closed"_s), nullptr);
    ASSERT_NE(food->Add(u"G1"_s, u"G2"_s, u"Dairy"_s, u"GroupClosed"_s), nullptr);
    TreeNode* milk = food->Add(u"G2"_s, u"F7"_s, u"Milk"_s, u"FoodItem"_s);
    ASSERT_NE(milk, nullptr);
    EXPECT_FALSE(milk->icon(0).isNull());

    // A duplicate key and a missing relative node fail and add nothing.
    EXPECT_EQ(food->Add({}, u"F7"_s, u"Other milk"_s), nullptr);
    EXPECT_EQ(food->Add(u"G99"_s, u"F8"_s, u"Orphan"_s), nullptr);
    EXPECT_EQ(food->Count(), 3);
    EXPECT_EQ(food->Item(u"F7"_s)->Text(), u"Milk"_s);
    EXPECT_EQ(food->Item(u"F8"_s), nullptr);

    // Removing a group takes its descendants and their keys along; the keys are free again.
    food->setDropHighlight(milk);
    food->Remove(food->Item(u"G2"_s));
    EXPECT_EQ(food->Item(u"G2"_s), nullptr);
    EXPECT_EQ(food->Item(u"F7"_s), nullptr);
    EXPECT_EQ(food->dropHighlight(), nullptr);
    EXPECT_EQ(food->Count(), 1);
    EXPECT_NE(food->Add(u"G1"_s, u"F7"_s, u"Milk"_s), nullptr);

    food->Clear();
    EXPECT_EQ(food->Count(), 0);
    EXPECT_NE(food->Add({}, u"G1"_s, u"Root"_s), nullptr);
}

TEST_F(TreeControlTest, SortsOnceWhenAskedThenAppends) {
    food->Add({}, u"G2"_s, u"Zeta"_s);
    food->Add({}, u"G1"_s, u"alpha"_s);
    for (const QString& name : {u"cherry"_s, u"apple"_s, u"Banana"_s})
        food->Add(u"G1"_s, u"F"_s + name, name);
    TreeNode* group = food->Item(u"G1"_s);
    food->selectNode(food->Item(u"Fapple"_s));

    food->sortTopLevel();
    EXPECT_EQ(texts(food->invisibleRootItem()), (QStringList{u"alpha"_s, u"Zeta"_s}));
    EXPECT_EQ(texts(group), (QStringList{u"cherry"_s, u"apple"_s, u"Banana"_s}));

    food->sortChildren(group);
    EXPECT_EQ(texts(group), (QStringList{u"apple"_s, u"Banana"_s, u"cherry"_s}));
    EXPECT_EQ(food->selectedNode(), food->Item(u"Fapple"_s));

    food->Add(u"G1"_s, u"Faardvark"_s, u"aardvark"_s);
    EXPECT_EQ(texts(group).last(), u"aardvark"_s);
}

TEST_F(TreeControlTest, TreeOrderAgreesWithSqlNoCase) {
    const QStringList names{u"apple"_s,       u"Banana"_s,     u"cherry"_s, u"_x"_s,
                            u"Zed"_s,         u"ab"_s,         u"ABC d"_s,  u"\u00c4pfel"_s,
                            u"\u00e9clair"_s, u"\U0001F34E"_s, u"\uFF21"_s, u"[bracket"_s};
    // The names go through bound parameters into one VALUES list that the database orders.
    QByteArray sql = "SELECT column1 FROM (VALUES (?)";
    sql += QByteArray(",(?)").repeated(names.size() - 1) + ") ORDER BY 1 COLLATE NOCASE";
    sqlite3* db = nullptr;
    sqlite3_stmt* query = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_prepare_v2(db, sql.constData(), -1, &query, nullptr), SQLITE_OK);
    for (int i = 0; i < names.size(); ++i) {
        food->Add({}, names[i], names[i]);
        sqlite3_bind_text(query, i + 1, names[i].toUtf8().constData(), -1, SQLITE_TRANSIENT);
    }
    QStringList sqlOrder;
    while (sqlite3_step(query) == SQLITE_ROW)
        sqlOrder << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query, 0)));
    sqlite3_finalize(query);
    sqlite3_close(db);

    food->sortTopLevel();
    EXPECT_EQ(texts(food->invisibleRootItem()), sqlOrder);
    EXPECT_EQ(sqlOrder.mid(0, 6),
              (QStringList{u"[bracket"_s, u"_x"_s, u"ab"_s, u"ABC d"_s, u"apple"_s, u"Banana"_s}));
}

TEST_F(TreeControlTest, OnlyUserSelectionSendsNodeClick) {
    food->Add({}, u"G1"_s, u"Root"_s);
    food->Add(u"G1"_s, u"G2"_s, u"Dairy"_s);
    TreeNode* milk = food->Add(u"G2"_s, u"F1"_s, u"Milk"_s);
    TreeNode* eggs = food->Add(u"G2"_s, u"F2"_s, u"Eggs"_s);

    food->selectNode(milk);
    EXPECT_EQ(food->selectedNode(), milk);
    EXPECT_TRUE(food->Item(u"G1"_s)->isExpanded());
    EXPECT_TRUE(log.isEmpty());

    QTest::mouseClick(food->viewport(), Qt::LeftButton, {}, at(food, eggs));
    EXPECT_EQ(log, (QStringList{u"tvwFood MouseDown 1"_s, u"tvwFood NodeClick F2"_s}));
    EXPECT_EQ(food->selectedNode(), eggs);

    log.clear();
    QTest::keyClick(food, Qt::Key_Up);
    EXPECT_EQ(log, QStringList{u"tvwFood NodeClick F1"_s});

    // A right click selects the node too, and tells the button before the click.
    log.clear();
    QTest::mouseClick(food->viewport(), Qt::RightButton, {}, at(food, eggs));
    EXPECT_EQ(log, (QStringList{u"tvwFood MouseDown 2"_s, u"tvwFood NodeClick F2"_s}));
    EXPECT_EQ(food->selectedNode(), eggs);

    // A click below the last node changes nothing.
    log.clear();
    QTest::mouseClick(food->viewport(), Qt::LeftButton, {},
                      QPoint(40, food->viewport()->height() - 2));
    EXPECT_EQ(log, QStringList{u"tvwFood MouseDown 1"_s});
    EXPECT_EQ(food->selectedNode(), eggs);
    EXPECT_EQ(food->hitTest(5, food->viewport()->height() - 2), nullptr);
}

TEST_F(TreeControlTest, RightButtonDragCarriesNodeAndButtonToTheOtherTree) {
    food->Add({}, u"G1"_s, u"Fruit"_s);
    TreeNode* apple = food->Add(u"G1"_s, u"F5"_s, u"Apple"_s);
    TreeNode* day = diet->Add({}, u"DT20261205"_s, u"2026-12-05"_s);
    food->selectNode(apple);
    // The handler switches dragging on for foods in its node click, as the window does.
    QObject::connect(food, &TreeControl::NodeClick, food,
                     [this](TreeNode* n) { food->setAutoDrag(n->Key().startsWith(u'F')); });
    QObject::connect(food, &TreeControl::OLEStartDrag, food, [this, day](QMimeData* data, auto&) {
        EXPECT_EQ(food->dragButton(), TreeButton::Right);
        dropOn(diet, day, data);
    });

    pressAndPull(food, apple, Qt::RightButton);
    QTest::mouseRelease(food->viewport(), Qt::RightButton, {}, at(food, apple));

    EXPECT_EQ(log,
              (QStringList{u"tvwFood MouseDown 2"_s, u"tvwFood NodeClick F5 drag"_s,
                           u"tvwFood OLEStartDrag tvwFood F5"_s,
                           u"tvwDiet OLEDragDrop F5 button 2"_s, u"tvwFood OLECompleteDrag"_s}));
    EXPECT_EQ(diet->hitTest(dropPoint), day);
    EXPECT_EQ(food->dragButton(), 0);

    // The same data arriving when no tree is dragging came from elsewhere: ignored.
    log.clear();
    QMimeData stray;
    stray.setData(TreeControl::mimeType(), "tvwFood\nF5");
    dropOn(diet, day, &stray);
    EXPECT_TRUE(log.isEmpty());

    // A group does not switch dragging on: the press is clicked once and nothing is dragged.
    pressAndPull(food, food->Item(u"G1"_s), Qt::LeftButton);
    QTest::mouseRelease(food->viewport(), Qt::LeftButton, {}, at(food, food->Item(u"G1"_s)));
    EXPECT_EQ(log, (QStringList{u"tvwFood MouseDown 1"_s, u"tvwFood NodeClick G1 drag"_s}));
}

// The platform's drag loop itself, which the offscreen platform does not run: ctest starts this
// case again under xvfb-run on the X platform.
TEST_F(TreeControlTest, DragsRunOnARealDisplayWithEitherButton) {
    if (QGuiApplication::platformName() != u"xcb"_s)
        GTEST_SKIP() << "needs an X display";
    food->Add({}, u"G1"_s, u"Fruit"_s);
    TreeNode* apple = food->Add(u"G1"_s, u"F5"_s, u"Apple"_s);
    diet->Add({}, u"DT1"_s, u"2026-12-04"_s);
    TreeNode* day = diet->Add({}, u"DT2"_s, u"2026-12-05"_s);
    food->selectNode(apple);
    food->setAutoDrag(true);
    Qt::MouseButton button = Qt::NoButton;
    // Inside the drag loop: the pointer goes to the day and the button comes up there.
    QObject::connect(food, &TreeControl::OLEStartDrag, food, [&](QMimeData*, auto&) {
        const QPoint target = at(diet, day);
        QTimer::singleShot(100, diet, [&, target] {
            mouse(diet, QEvent::MouseMove, target, Qt::NoButton, button);
        });
        QTimer::singleShot(200, diet, [&, target] {
            mouse(diet, QEvent::MouseButtonRelease, target, button, Qt::NoButton);
        });
    });
    for (const Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
        button = b;
        QTest::qWait(100); // the previous drag's window and grab go away
        log.clear();
        pressAndPull(food, apple, b);
        const QString held = QString::number(treeButtonOf(b));
        EXPECT_EQ(log, (QStringList{u"tvwFood MouseDown "_s + held, u"tvwFood NodeClick F5 drag"_s,
                                    u"tvwFood OLEStartDrag tvwFood F5"_s,
                                    u"tvwDiet OLEDragDrop F5 button "_s + held,
                                    u"tvwFood OLECompleteDrag"_s}));
        EXPECT_EQ(diet->hitTest(dropPoint), day);
    }
}

TEST_F(TreeControlTest, LabelEditEndsInAHandlerThatMayRefuse) {
    TreeNode* group = food->Add({}, u"G3"_s, u"New Food Group"_s);
    bool refuse = false;
    QStringList seen;
    QObject::connect(food, &TreeControl::AfterLabelEdit, food, [&](bool& cancel, QString& text) {
        seen << text;
        cancel = refuse;
        text = text.left(6);
    });
    auto edit = [&](const QString& typed, Qt::Key end) {
        food->selectNode(group);
        food->startLabelEdit();
        auto* editor = food->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(typed);
        QTest::keyClick(editor, end);
        QTRY_VERIFY(food->viewport()->findChild<QLineEdit*>() == nullptr);
    };

    edit(u"Vegetables"_s, Qt::Key_Return);
    EXPECT_EQ(seen, QStringList{u"Vegetables"_s});
    EXPECT_EQ(group->Text(), u"Vegeta"_s);

    refuse = true;
    edit(u"Grains"_s, Qt::Key_Return);
    EXPECT_EQ(group->Text(), u"Vegeta"_s);

    edit(u"Nuts"_s, Qt::Key_Escape);
    EXPECT_EQ(seen.size(), 2);
    EXPECT_EQ(group->Text(), u"Vegeta"_s);
}

TEST(Icons, EveryPictureKeyHasItsPicture) {
    EXPECT_EQ(smallIconKeys().size(), 13);
    for (const QString& key : smallIconKeys())
        EXPECT_EQ(smallIcon(key).pixmap(16).size(), QSize(16, 16)) << key.toStdString();
    for (const QString& key : toolbarIconKeys())
        EXPECT_EQ(toolbarIcon(key).pixmap(22).size(), QSize(22, 22)) << key.toStdString();
    EXPECT_FALSE(applicationIcon().isNull());
    EXPECT_TRUE(smallIcon(u"NoSuchPicture"_s).isNull());
}

} // namespace
