// The tree-control layer on a real widget: nodes by key, sorting on request in the database's
// collation, which clicks notify, stray drops, label editing. Drags run in the X11 tests.
#include "TreeControl.h"
#include "Icons.h"
#include "SqlProbe.h"

#include <QApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList texts(QTreeWidgetItem* parent) {
    QStringList out;
    for (int i = 0; i < parent->childCount(); ++i)
        out << parent->child(i)->text(0);
    return out;
}

// A tree as in the window, and a log of the notifications its handlers rely on.
class TreeControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        tree.setObjectName(u"tvwFood"_s);
        QObject::connect(&tree, &TreeControl::MouseDown, &tree,
                         [this](int button, int, int, int) { log << u"down %1"_s.arg(button); });
        QObject::connect(&tree, &TreeControl::NodeClick, &tree,
                         [this](TreeNode* node) { log << u"click "_s + node->Key(); });
        QObject::connect(&tree, &TreeControl::OLEDragDrop, &tree,
                         [this](const QMimeData*, auto&, int, int, int, int) { log << u"drop"_s; });
        tree.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    }
    QPoint at(TreeNode* node) const { return tree.visualItemRect(node).center(); }

    TreeControl tree;
    QStringList log;
};

TEST_F(TreeControlTest, NodesAreFoundByKeyAndSortedOnlyWhenAskedAsSqlNoCaseSorts) {
    const QStringList names{u"apple"_s,       u"Banana"_s,     u"cherry"_s, u"_x"_s,
                            u"Zed"_s,         u"ab"_s,         u"ABC d"_s,  u"\u00c4pfel"_s,
                            u"\u00e9clair"_s, u"\U0001F34E"_s, u"\uFF21"_s, u"[bracket"_s};
    for (const QString& name : names)
        tree.Add({}, name, name);
    TreeNode* group = tree.Item(u"Zed"_s);
    for (const QString& name : {u"cherry"_s, u"apple"_s, u"Banana"_s})
        tree.Add(u"Zed"_s, u"F"_s + name, name);
    // A duplicate key and a missing relative node add nothing.
    EXPECT_FALSE(tree.Add({}, u"Fapple"_s, u"Other apple"_s));
    EXPECT_FALSE(tree.Add(u"G99"_s, u"F8"_s, u"Orphan"_s));
    EXPECT_EQ(tree.Count(), 15);

    tree.sortTopLevel();
    // In the order SQLite's ORDER BY ... COLLATE NOCASE gives them.
    const QString sorted = u"SELECT group_concat(column1, char(10)) FROM (SELECT column1 FROM "
                           "(VALUES ('"_s +
                           names.join(u"'),('"_s) + u"')) ORDER BY 1 COLLATE NOCASE)"_s;
    EXPECT_EQ(texts(tree.invisibleRootItem()),
              queryValue(u":memory:"_s, sorted).toString().split(u'\n'));
    EXPECT_EQ(texts(group), (QStringList{u"cherry"_s, u"apple"_s, u"Banana"_s}));
    tree.sortChildren(group);
    EXPECT_EQ(texts(group), (QStringList{u"apple"_s, u"Banana"_s, u"cherry"_s}));
    tree.Add({}, u"aardvark"_s, u"aardvark"_s);
    EXPECT_EQ(texts(tree.invisibleRootItem()).last(), u"aardvark"_s);

    // Removing a group takes its descendants, their keys and the drop highlight along.
    tree.setDropHighlight(tree.Item(u"Fapple"_s));
    tree.Remove(group);
    EXPECT_FALSE(tree.Item(u"Fapple"_s) || tree.dropHighlight());
    EXPECT_EQ(tree.Count(), 12);
    EXPECT_TRUE(tree.Add(u"ab"_s, u"Fapple"_s, u"apple"_s));
    tree.Clear();
    EXPECT_EQ(tree.Count(), 0);
    EXPECT_TRUE(tree.Add({}, u"ab"_s, u"ab"_s));
}

TEST_F(TreeControlTest, NodesMadeBeforehandGoInAsOneBatchAndShowTheirPictures) {
    tree.Add({}, u"DT1"_s, u"first"_s);
    QSignalSpy inserted(tree.model(), &QAbstractItemModel::rowsInserted);
    std::vector<TreeNode*> batch;
    for (const QString& key : {u"DT2"_s, u"DT1"_s, u"DT3"_s, QString(), u"DT2"_s})
        batch.push_back(new TreeNode(key, u"day "_s + key, u"DayClosed"_s));
    tree.AddNodes({}, batch);
    EXPECT_EQ(inserted.size(), 1);
    // Taken and empty keys stay out (the sanitizer build would see them leak); the rest follow the
    // nodes already there, in their order, and are found by their keys.
    EXPECT_EQ(texts(tree.invisibleRootItem()),
              (QStringList{u"first"_s, u"day DT2"_s, u"day DT3"_s}));
    TreeNode* day = tree.Item(u"DT3"_s);
    ASSERT_TRUE(day);
    tree.AddNodes(u"DT3"_s, {new TreeNode(u"D7"_s, u"Apple"_s, u"DietItem"_s)});
    tree.AddNodes(u"DT9"_s, {new TreeNode(u"D8"_s, u"Pear"_s, u"DietItem"_s)});
    EXPECT_EQ(day->Children(), 1);
    EXPECT_FALSE(tree.Item(u"D8"_s));

    // The picture shown is the one the node's image names, and a new one is shown at once.
    const auto shows = [](TreeNode* n, const QString& image) {
        return n->icon(0).cacheKey() == smallIcon(image).cacheKey();
    };
    EXPECT_TRUE(shows(day, u"DayClosed"_s));
    QSignalSpy changed(tree.model(), &QAbstractItemModel::dataChanged);
    day->setImage(u"DayOpen"_s);
    EXPECT_EQ(changed.size(), 1);
    EXPECT_TRUE(shows(day, u"DayOpen"_s));
    EXPECT_TRUE(tree.Add({}, u"G1"_s, u"no picture"_s)->icon(0).isNull());
}

TEST_F(TreeControlTest, UserClicksAndKeysNotifyButNeitherTheProgramNorStrayDropsDo) {
    tree.Add({}, u"G1"_s, u"Fruit"_s);
    TreeNode* apple = tree.Add(u"G1"_s, u"F5"_s, u"Apple"_s);
    TreeNode* pear = tree.Add(u"G1"_s, u"F6"_s, u"Pear"_s);
    tree.selectNode(apple);
    EXPECT_TRUE(tree.Item(u"G1"_s)->isExpanded());
    EXPECT_TRUE(log.isEmpty()) << "a selection by the program is no click";
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, at(pear));
    QTest::keyClick(&tree, Qt::Key_Up);
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, at(pear));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, {40, tree.viewport()->height() - 2});
    EXPECT_EQ(log, (QStringList{u"down 1"_s, u"click F6"_s, u"click F5"_s, u"down 2"_s,
                                u"click F6"_s, u"down 1"_s}));
    EXPECT_EQ(tree.selectedNode(), pear) << "a click below the last node keeps the selection";

    // Node data arriving when no tree is dragging came from elsewhere: ignored.
    log.clear();
    QMimeData stray;
    stray.setData(TreeControl::mimeType(), "tvwFood\nF5");
    QDropEvent drop(at(apple), Qt::CopyAction | Qt::MoveAction, &stray, {}, {});
    QDragEnterEvent enter(drop.position().toPoint(), drop.possibleActions(), &stray, {}, {});
    QApplication::sendEvent(tree.viewport(), &enter);
    QApplication::sendEvent(tree.viewport(), &drop);
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(TreeControlTest, LabelEditEndsInAHandlerThatMayRefuse) {
    TreeNode* group = tree.Add({}, u"G3"_s, u"New Food Group"_s);
    bool refuse = false;
    int calls = 0;
    QObject::connect(&tree, &TreeControl::AfterLabelEdit, &tree, [&](bool& cancel, QString& text) {
        ++calls;
        cancel = refuse;
        text = text.left(6);
    });
    tree.selectNode(group);
    const auto edit = [&](const QString& typed, Qt::Key end) {
        tree.startLabelEdit();
        auto* editor = tree.viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->setText(typed);
        QTest::keyClick(editor, end);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !tree.viewport()->findChild<QLineEdit*>(); }));
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
