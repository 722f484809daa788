// The tree-control layer on real widgets: nodes by key, sorting on request in the database's
// collation, which clicks notify, either-button drags between two trees, label editing.
#include "TreeControl.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}

namespace {

// The names in the order SQLite's ORDER BY ... COLLATE NOCASE gives them.
QStringList sqlNoCaseOrder(const QStringList& names) {
    QString sql = u"SELECT column1 FROM (VALUES ('"_s + names.join(u"'),('"_s) +
                  u"')) ORDER BY 1 COLLATE NOCASE"_s;
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    QStringList out;
    sqlite3_exec(
        db, sql.toUtf8().constData(),
        [](void* list, int, char** row, char**) {
            *static_cast<QStringList*>(list) << QString::fromUtf8(row[0]);
            return 0;
        },
        &out, nullptr);
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
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // The notifications the window's click and drag handlers rely on.
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
            note(u"OLEStartDrag "_s + TreeControl::dragSourceName(data) + u' ' +
                 TreeControl::dragKey(data));
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

    static QPoint at(TreeControl* tree, TreeNode* node) {
        return tree->visualItemRect(node).center();
    }

    // What a drag over `tree` delivers: enter, then drop, at the node.
    static void dropOn(TreeControl* tree, TreeNode* node, const QMimeData* data) {
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at(tree, node), actions, data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &enter);
        QDropEvent drop(at(tree, node), actions, data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &drop);
    }

    void pressAndPull(TreeNode* node, Qt::MouseButton button) {
        log.clear();
        QTest::mousePress(food->viewport(), button, {}, at(food, node));
        QTest::mouseMove(food->viewport(),
                         at(food, node) + QPoint(QApplication::startDragDistance() + 2, 0));
        QTest::mouseRelease(food->viewport(), button, {}, at(food, node));
    }

    QWidget window;
    TreeControl* food = nullptr;
    TreeControl* diet = nullptr;
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
    EXPECT_FALSE(food->Item(u"Fapple"_s) || food->dropHighlight());
    EXPECT_EQ(food->Count(), 12);
    EXPECT_TRUE(food->Add(u"ab"_s, u"Fapple"_s, u"apple"_s));
    food->Clear();
    EXPECT_EQ(food->Count(), 0);
    EXPECT_TRUE(food->Add({}, u"ab"_s, u"ab"_s));
}

TEST_F(TreeControlTest, ClicksKeysAndDragsWithEitherButtonNotifyTheHandlers) {
    food->Add({}, u"G1"_s, u"Fruit"_s);
    TreeNode* apple = food->Add(u"G1"_s, u"F5"_s, u"Apple"_s);
    TreeNode* pear = food->Add(u"G1"_s, u"F6"_s, u"Pear"_s);
    food->selectNode(apple);
    diet->Add({}, u"DT1"_s, u"2026-12-04"_s);
    TreeNode* day = diet->Add({}, u"DT2"_s, u"2026-12-05"_s);
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

    // As the window does, the node click switches dragging on for foods only; the drop handler
    // hears which button began the drag. The platform's drag loop runs in the X11 tests.
    QObject::connect(food, &TreeControl::NodeClick, food,
                     [this](TreeNode* n) { food->setAutoDrag(n->Key().startsWith(u'F')); });
    QObject::connect(food, &TreeControl::OLEStartDrag, food,
                     [=, this](QMimeData* data, auto&) { dropOn(diet, day, data); });
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        pressAndPull(apple, button);
        const QString held = QString::number(button == Qt::LeftButton ? 1 : 2);
        EXPECT_EQ(log, (QStringList{u"tvwFood MouseDown "_s + held, u"tvwFood NodeClick F5 drag"_s,
                                    u"tvwFood OLEStartDrag tvwFood F5"_s,
                                    u"tvwDiet OLEDragDrop F5 button "_s + held + u" on DT2"_s,
                                    u"tvwFood OLECompleteDrag"_s}));
    }

    // The same data arriving when no tree is dragging came from elsewhere: ignored.
    log.clear();
    QMimeData stray;
    stray.setData(TreeControl::mimeType(), "tvwFood\nF5");
    dropOn(diet, day, &stray);
    EXPECT_TRUE(log.isEmpty());

    // A group is clicked once and not dragged.
    pressAndPull(food->Item(u"G1"_s), Qt::LeftButton);
    EXPECT_EQ(log, (QStringList{u"tvwFood MouseDown 1"_s, u"tvwFood NodeClick G1 drag"_s}));
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
    const auto edit = [&](const QString& typed, Qt::Key end) {
        food->startLabelEdit();
        auto* editor = food->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(typed);
        QTest::keyClick(editor, end);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !food->viewport()->findChild<QLineEdit*>(); }));
    };
    edit(u"Vegetables"_s, Qt::Key_Return);
    EXPECT_EQ(group->Text(), u"Vegeta"_s);
    refuse = true;
    edit(u"Grains"_s, Qt::Key_Return);
    edit(u"Nuts"_s, Qt::Key_Escape);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(group->Text(), u"Vegeta"_s);
}

} // namespace
