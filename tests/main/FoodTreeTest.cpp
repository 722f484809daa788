// The food tree: what it shows at start, lazy loading, and what clicks and keys enable and do.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "clsFWSDataSource.h"

#include <QApplication>
#include <QLabel>

namespace {
QStringList texts(const QList<TreeNode*>& nodes) {
    QStringList out;
    for (const TreeNode* n : nodes)
        out << n->Text();
    return out;
}
QList<TreeNode*> children(TreeNode* node) {
    QList<TreeNode*> out;
    for (int i = 0; i < node->Children(); ++i)
        out << node->Child(i);
    return out;
}
const QStringList kFruitGroup = {
    QStringLiteral("INSERT INTO FoodGroup VALUES (500, 'Aaa test fruit', 1, 'GROUP')"),
    QStringLiteral("INSERT INTO FoodGroup VALUES (501, 'Empty group', 1, 'GROUP')"),
    QStringLiteral("INSERT INTO FoodItem (FoodId, GroupId, FoodName, ServingSize) VALUES "
                   "(900001, 500, 'Cherry', '1 cup'), (900002, 500, 'Apple', '1 medium'), "
                   "(900003, 500, 'Banana', '1 large')")};
} // namespace

TEST_F(MainWindowTest, TheTreeOpensWithTheTopGroupsSortedAndTheFavouritesShownAndSelected) {
    prepare(kFruitGroup);
    start();
    TreeControl* t = w().tvwFood;
    ASSERT_EQ(t->topLevelItemCount(), 2);
    TreeNode* fav = TreeNode::of(t->topLevelItem(0));
    TreeNode* root = TreeNode::of(t->topLevelItem(1));
    EXPECT_EQ(fav->Tag(), QStringLiteral("FAVORITE"));
    EXPECT_EQ(root->Tag(), QStringLiteral("GROUPROOT"));
    EXPECT_EQ(root->Image(), QStringLiteral("closed"));
    EXPECT_EQ(t->selectedNode(), fav);
    EXPECT_EQ(fav->Key(), QStringLiteral("G2"));
    // Open from the start, so its foods can be seen and logged at once.
    EXPECT_TRUE(fav->isExpanded());
    EXPECT_EQ(fav->Image(), QStringLiteral("open"));

    // Favourites' foods in name order; groups below the root by name, not loaded.
    QStringList favNames = texts(children(fav));
    QStringList sorted = favNames;
    std::sort(sorted.begin(), sorted.end(),
              [](const QString& a, const QString& b) { return compareNoCase(a, b) < 0; });
    EXPECT_EQ(favNames, sorted);
    EXPECT_EQ(fav->Child(0)->Tag(), QStringLiteral("FOODITEM"));
    const QList<TreeNode*> groups = children(root);
    EXPECT_EQ(groups.first()->Text(), QStringLiteral("Aaa test fruit"));
    for (const TreeNode* g : groups) {
        EXPECT_EQ(g->Tag(), QStringLiteral("GROUP"));
        EXPECT_EQ(g->Image(), QStringLiteral("GroupClosed"));
        EXPECT_EQ(g->Children(), 0);
    }

    // Expanding and collapsing switch the pictures.
    root->setExpanded(true);
    EXPECT_EQ(root->Image(), QStringLiteral("open"));
    root->setExpanded(false);
    EXPECT_EQ(root->Image(), QStringLiteral("closed"));
}

TEST_F(MainWindowTest, AGroupsFoodsLoadOnceOnDoubleClickOrEnter) {
    prepare(kFruitGroup);
    start();
    TreeControl* t = w().tvwFood;
    TreeNode* fruit = t->Item(QStringLiteral("G500"));
    TreeNode* empty = t->Item(QStringLiteral("G501"));
    doubleClick(t, fruit);
    EXPECT_EQ(
        texts(children(fruit)),
        (QStringList{QStringLiteral("Apple"), QStringLiteral("Banana"), QStringLiteral("Cherry")}));
    EXPECT_TRUE(fruit->isExpanded());
    EXPECT_EQ(fruit->Image(), QStringLiteral("GroupOpen"));
    fruit->setExpanded(true);
    t->setFocus();
    key(t, Qt::Key_Return);
    EXPECT_EQ(fruit->Children(), 3);

    t->selectNode(empty);
    t->setFocus();
    key(t, Qt::Key_Return);
    key(t, Qt::Key_Return);
    EXPECT_EQ(empty->Children(), 0);

    // Enter on a food logs nothing; Escape on a food closes its group.
    t->selectNode(fruit->Child(0));
    key(t, Qt::Key_Return);
    EXPECT_EQ(w().tvwDiet->Count(), 0);
    key(t, Qt::Key_Escape);
    EXPECT_FALSE(fruit->isExpanded());
    t->selectNode(fruit);
    t->Item(QStringLiteral("G1"))->setExpanded(true);
    key(t, Qt::Key_Escape);
    EXPECT_FALSE(t->Item(QStringLiteral("G1"))->isExpanded());
}

TEST_F(MainWindowTest, ClickingANodeEnablesTheCommandsThatFitIt) {
    prepare(kFruitGroup);
    start();
    TreeControl* t = w().tvwFood;
    TreeNode* root = t->Item(QStringLiteral("G1"));
    TreeNode* fav = t->Item(QStringLiteral("G2"));
    TreeNode* fruit = t->Item(QStringLiteral("G500"));
    doubleClick(t, fruit);

    click(t, root);
    for (const char* off : {"mnuEditDelete", "mnuEditNewFoodItem", "NewFood", "mnuEditCut", "Copy",
                            "mnuEditFoodDetails", "mnuEditPaste", "mnuPop_RTB_Paste"})
        EXPECT_FALSE(enabled(off)) << off;
    for (const char* on : {"mnuEditRename", "mnuEditNewFoodGroup", "NewGroup", "mnuEditNew"})
        EXPECT_TRUE(enabled(on)) << on;

    click(t, fav);
    EXPECT_TRUE(enabled("mnuEditNewFoodItem"));
    EXPECT_FALSE(enabled("mnuEditDelete"));
    EXPECT_FALSE(enabled("mnuEditPaste")); // nothing copied yet

    click(t, fruit);
    EXPECT_TRUE(enabled("Delete"));
    EXPECT_FALSE(enabled("Cut"));
    EXPECT_TRUE(w().sbPanel1->text().isEmpty());

    click(t, fruit->Child(1)); // Banana, in an ordinary group
    EXPECT_TRUE(enabled("mnuEditFoodFav"));
    EXPECT_TRUE(enabled("mnuPop_RTB_Cut"));
    EXPECT_TRUE(t->autoDrag());
    EXPECT_EQ(w().sbPanel1->text(), QStringLiteral("Serving Size:  1 large"));
    EXPECT_EQ(w().sbPanel1->toolTip(), QStringLiteral("Serving Size of Selected Food Item"));
    EXPECT_EQ(gDataSource->rscmdFoods->Fields(QStringLiteral("FoodId")).toLongLong(), 900003);
    EXPECT_FALSE(enabled("mnuEditDietDetails"));

    fav->setExpanded(true);
    click(t, fav->Child(0)); // a food among the favourites
    EXPECT_FALSE(enabled("mnuEditFoodFav"));
    EXPECT_FALSE(enabled("mnuPop_RTB_FoodFav"));
    EXPECT_EQ(popups, 0);
}

TEST_F(MainWindowTest, ARightClickShowsThePopupOnceAndTheNextClickDoesNot) {
    start();
    TreeControl* t = w().tvwFood;
    TreeNode* root = t->Item(QStringLiteral("G1"));
    click(t, root, Qt::RightButton);
    EXPECT_EQ(popups, 1);
    click(t, root);
    EXPECT_EQ(popups, 1);
}

TEST_F(MainWindowTest, TypingALetterJumpsAmongTheFoodsOfOneGroup) {
    prepare(kFruitGroup);
    start();
    TreeControl* t = w().tvwFood;
    TreeNode* fruit = t->Item(QStringLiteral("G500"));
    doubleClick(t, fruit);
    TreeNode* apple = fruit->Child(0);
    TreeNode* banana = fruit->Child(1);
    TreeNode* cherry = fruit->Child(2);
    t->setFocus();

    const auto jump = [&](TreeNode* from, Qt::Key k) {
        t->selectNode(from);
        key(t, k);
        return t->selectedNode();
    };
    EXPECT_EQ(jump(apple, Qt::Key_B), banana);
    EXPECT_EQ(w().sbPanel1->text(), QStringLiteral("Serving Size:  1 large")); // clicked
    EXPECT_EQ(jump(cherry, Qt::Key_A), apple);
    EXPECT_EQ(jump(banana, Qt::Key_A), apple);
    EXPECT_EQ(jump(apple, Qt::Key_Z), cherry);
    EXPECT_EQ(jump(cherry, Qt::Key_C), cherry);
    EXPECT_EQ(jump(apple, Qt::Key_B), banana);
    // With Ctrl held a letter is no jump.
    t->selectNode(apple);
    key(t, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(t->selectedNode(), apple);
}
