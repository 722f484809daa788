// The food tree: what it shows at start, lazy loading, and what clicks and keys enable and do.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "clsFWSDataSource.h"

#include <QLabel>
#include <QTest>

namespace {
QStringList texts(const TreeNode* node) {
    QStringList out;
    for (int i = 0; i < node->Children(); ++i)
        out << node->Child(i)->Text();
    return out;
}
const QStringList kFruitGroup = {
    QStringLiteral("INSERT INTO FoodGroup VALUES (500, 'Aaa test fruit', 1, 'GROUP'), "
                   "(501, 'Empty group', 1, 'GROUP')"),
    QStringLiteral("INSERT INTO FoodItem (FoodId, GroupId, FoodName, ServingSize) VALUES "
                   "(900001, 500, 'Cherry', '1 cup'), (900002, 500, 'Apple', '1 medium'), "
                   "(900003, 500, 'Banana', '1 large')")};
} // namespace

TEST_F(MainWindowTest, TheTreeOpensOnTheFavouritesAndLoadsAGroupOnceWhenOpened) {
    prepare(kFruitGroup);
    start();
    TreeControl* t = w().tvwFood;
    ASSERT_EQ(t->topLevelItemCount(), 2);
    TreeNode* fav = TreeNode::of(t->topLevelItem(0));
    TreeNode* root = TreeNode::of(t->topLevelItem(1));
    EXPECT_EQ(fav->Tag() + root->Tag(), QStringLiteral("FAVORITEGROUPROOT"));
    // The favourites are selected and open from the start, their foods in name order.
    EXPECT_EQ(t->selectedNode(), fav);
    EXPECT_TRUE(fav->isExpanded());
    EXPECT_EQ(fav->Image(), QStringLiteral("open"));
    QStringList sorted = texts(fav);
    std::sort(sorted.begin(), sorted.end(),
              [](const QString& a, const QString& b) { return compareNoCase(a, b) < 0; });
    EXPECT_EQ(texts(fav), sorted);
    // Groups below the root by name, not loaded until opened.
    TreeNode* fruit = t->Item(QStringLiteral("G500"));
    EXPECT_EQ(root->Child(0), fruit);
    EXPECT_EQ(fruit->Image(), QStringLiteral("GroupClosed"));
    EXPECT_EQ(fruit->Children(), 0);

    doubleClick(t, fruit);
    EXPECT_EQ(texts(fruit), (QStringList{QStringLiteral("Apple"), QStringLiteral("Banana"),
                                         QStringLiteral("Cherry")}));
    EXPECT_TRUE(fruit->isExpanded());
    EXPECT_EQ(fruit->Image(), QStringLiteral("GroupOpen"));
    key(t, Qt::Key_Return); // loaded already: no second copy
    EXPECT_EQ(fruit->Children(), 3);
    TreeNode* empty = t->Item(QStringLiteral("G501"));
    t->selectNode(empty);
    key(t, Qt::Key_Return);
    key(t, Qt::Key_Return);
    EXPECT_EQ(empty->Children(), 0);

    // Enter on a food logs nothing; Escape on a food or a group closes its parent.
    t->selectNode(fruit->Child(0));
    key(t, Qt::Key_Return);
    EXPECT_EQ(w().tvwDiet->Count(), 0);
    key(t, Qt::Key_Escape);
    EXPECT_FALSE(fruit->isExpanded());
    EXPECT_EQ(fruit->Image(), QStringLiteral("GroupClosed"));
    t->selectNode(fruit);
    key(t, Qt::Key_Escape);
    EXPECT_FALSE(root->isExpanded());
}

TEST_F(MainWindowTest, ClicksEnableTheCommandsThatFitTheNodeAndLettersJumpAmongAGroupsFoods) {
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
    click(t, fruit);
    EXPECT_TRUE(enabled("Delete"));
    EXPECT_FALSE(enabled("Cut"));
    EXPECT_TRUE(w().sbPanel1->text().isEmpty());

    // A letter jumps to the next food of the group starting with it, as a click on it does.
    TreeNode* apple = fruit->Child(0);
    TreeNode* banana = fruit->Child(1);
    TreeNode* cherry = fruit->Child(2);
    const auto jump = [&](TreeNode* from, Qt::Key k, Qt::KeyboardModifiers mods = {}) {
        t->selectNode(from);
        key(t, k, mods);
        return t->selectedNode();
    };
    const std::tuple<TreeNode*, Qt::Key, TreeNode*> jumps[] = {{cherry, Qt::Key_A, apple},
                                                               {banana, Qt::Key_A, apple},
                                                               {apple, Qt::Key_Z, cherry},
                                                               {cherry, Qt::Key_C, cherry}};
    for (const auto& [from, letter, to] : jumps)
        EXPECT_EQ(jump(from, letter), to) << from->Text().toStdString() << ' ' << letter;
    EXPECT_EQ(jump(apple, Qt::Key_C, Qt::ControlModifier), apple); // with Ctrl: no jump
    EXPECT_EQ(jump(apple, Qt::Key_B), banana);                     // Banana, in an ordinary group
    for (const char* on : {"mnuEditFoodFav", "mnuPop_RTB_Cut", "mnuEditFoodDetails"})
        EXPECT_TRUE(enabled(on)) << on;
    EXPECT_FALSE(enabled("mnuEditDietDetails"));
    EXPECT_TRUE(t->autoDrag());
    EXPECT_EQ(w().sbPanel1->text(), QStringLiteral("Serving Size:  1 large"));
    EXPECT_EQ(gDataSource->rscmdFoods->Fields(QStringLiteral("FoodId")).toLongLong(), 900003);

    click(t, fav->Child(0)); // a food among the favourites
    EXPECT_FALSE(enabled("mnuEditFoodFav"));
    EXPECT_FALSE(enabled("mnuPop_RTB_FoodFav"));
    EXPECT_EQ(popups, 0);
    // A right click opens the popup once; the next left click does not.
    click(t, root, Qt::RightButton);
    click(t, root);
    EXPECT_EQ(popups, 1);
    // A right press on blank space below the nodes leaves nothing behind for the next left
    // click, nor for the node click a new group runs.
    for (TreeControl* tree : {w().tvwDiet, t}) {
        QTest::mouseClick(tree->viewport(), Qt::RightButton, Qt::NoModifier,
                          QPoint(5, tree->viewport()->height() - 2));
        click(t, root);
    }
    choose("mnuEditNewFoodGroup");
    type(QStringLiteral("Snacks"));
    EXPECT_EQ(popups, 1);
}
