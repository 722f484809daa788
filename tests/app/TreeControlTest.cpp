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
    const QString sql = u"SELECT column1 FROM (VALUES ('"_s + names.join(u"'),('"_s) +
                        u"')) ORDER BY 1 COLLATE NOCASE"_s;
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    QStringList out;
    const auto row = [](void* list, int, char** values, char**) {
        *static_cast<QStringList*>(list) << QString::fromUtf8(values[0]);
        return 0;
    };
    sqlite3_exec(db, sql.toUtf8().constData(), row, &out, nullptr);
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
    // Two trees as in the window, and a log of the notifications its handlers rely on.
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        for (TreeControl* tree : {food, diet}) {
            tree->setObjectName(tree == food ? u"tvwFood"_s : u"tvwDiet"_s);
            layout->addWidget(tree);
            const auto note = [this, tree](const QString& what) {
                log << tree->objectName() + u' ' + what;
            };
            QObject::connect(tree, &TreeControl::MouseDown, tree,
                             [=](int button, int, int, int) { note(u"down %1"_s.arg(button)); });
            QObject::connect(tree, &TreeControl::NodeClick, tree, [=](TreeNode* n) {
                note(u"click "_s + n->Key() + (tree->startingDrag() ? u" drag"_s : u""_s));
            });
            QObject::connect(tree, &TreeControl::OLEDragDrop, tree,
                             [=](const QMimeData* data, auto&, int button, int, int x, int y) {
                                 note(u"drop %1 button %2 on %3"_s.arg(
                                     TreeControl::dragKey(data), QString::number(button),
                                     tree->hitTest(x, y) ? tree->hitTest(x, y)->Key() : u""_s));
                             });
        }
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    static QPoint at(TreeControl* tree, TreeNode* node) {
        return tree->visualItemRect(node).center();
    }

    void dropOnDay(const QMimeData* data) {
        QDropEvent drop(at(diet, day), Qt::CopyAction | Qt::MoveAction, data, {}, {});
        QDragEnterEvent enter(drop.position().toPoint(), drop.possibleActions(), data, {}, {});
        QApplication::sendEvent(diet->viewport(), &enter);
        QApplication::sendEvent(diet->viewport(), &drop);
    }

    QWidget window;
    TreeControl* food = new TreeControl(&window);
    TreeControl* diet = new TreeControl(&window);
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
    day = diet->Add({}, u"DT2"_s, u"2026-12-05"_s);
    EXPECT_TRUE(food->Item(u"G1"_s)->isExpanded());
    EXPECT_TRUE(log.isEmpty()) << "a selection by the program is no click";
    QTest::mouseClick(food->viewport(), Qt::LeftButton, {}, at(food, pear));
    QTest::keyClick(food, Qt::Key_Up);
    QTest::mouseClick(food->viewport(), Qt::RightButton, {}, at(food, pear));
    QTest::mouseClick(food->viewport(), Qt::LeftButton, {}, {40, food->viewport()->height() - 2});
    EXPECT_EQ(log, (QStringList{u"tvwFood down 1"_s, u"tvwFood click F6"_s, u"tvwFood click F5"_s,
                                u"tvwFood down 2"_s, u"tvwFood click F6"_s, u"tvwFood down 1"_s}));
    EXPECT_EQ(food->selectedNode(), pear) << "a click below the last node keeps the selection";

    // As the window does, the press of a node switches dragging on for foods only. A drag with
    // either button reaches the drop handler with its button; a group is clicked, not dragged.
    // The platform's drag loop itself runs in the X11 tests.
    QObject::connect(food, &TreeControl::NodeClick, food,
                     [this](TreeNode* n) { food->setAutoDrag(n->Key().startsWith(u'F')); });
    QObject::connect(food, &TreeControl::OLEStartDrag, food,
                     [this](QMimeData* data, auto&) { dropOnDay(data); });
    const auto pull = [this](TreeNode* node, Qt::MouseButton button) {
        QTest::mousePress(food->viewport(), button, {}, at(food, node));
        QTest::mouseMove(food->viewport(), at(food, node) + QPoint(20, 0));
        QTest::mouseRelease(food->viewport(), button, {}, at(food, node));
    };
    log.clear();
    pull(apple, Qt::LeftButton);
    pull(apple, Qt::RightButton);
    pull(food->Item(u"G1"_s), Qt::LeftButton);
    EXPECT_EQ(log, (QStringList{u"tvwFood down 1"_s, u"tvwFood click F5 drag"_s,
                                u"tvwDiet drop F5 button 1 on DT2"_s, u"tvwFood down 2"_s,
                                u"tvwFood click F5 drag"_s, u"tvwDiet drop F5 button 2 on DT2"_s,
                                u"tvwFood down 1"_s, u"tvwFood click G1 drag"_s}));

    // The same data arriving when no tree is dragging came from elsewhere: ignored.
    log.clear();
    QMimeData stray;
    stray.setData(TreeControl::mimeType(), "tvwFood\nF5");
    dropOnDay(&stray);
    EXPECT_TRUE(log.isEmpty());
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
