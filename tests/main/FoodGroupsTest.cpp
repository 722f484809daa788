// The user's own groups: where a new group goes, naming it in place, renaming top-level groups,
// and deleting a group with its foods.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "SqlProbe.h"
#include "clsFWSDataSource.h"

#include <QMimeData>

namespace {
const QStringList kGroups = {
    QStringLiteral("INSERT INTO FoodGroup VALUES (500, 'Aaa fruit', 1, 'GROUP'), "
                   "(501, 'Aab nuts', 1, 'GROUP')"),
    QStringLiteral("INSERT INTO FoodItem (FoodId, GroupId, FoodName) VALUES "
                   "(900001, 500, 'Apple'), (900002, 500, 'Pear')"),
    dietRow(1, "USER1", "2026-12-05", "Apple")};
} // namespace

using FoodGroupsTest = MainWindowTest;

TEST_F(FoodGroupsTest, NewGroupsGoUnderTheSelectionsTopGroupAndFoodsAreDraggedBetweenGroups) {
    prepare(kGroups);
    start();
    TreeControl* t = w().tvwFood;
    doubleClick(t, foodNode("G500"));
    const QString sixty = QString(60, u'x');
    // The selection and where its new group goes: {selected, parent}.
    const std::pair<const char*, const char*> cases[] = {
        {"F900001", "G1"}, {"G500", "G1"}, {"G1", "G1"}, {"G2", "G2"}};
    for (const auto& [selected, parent] : cases) {
        click(t, foodNode(selected));
        choose("NewGroup");
        TreeNode* added = t->selectedNode();
        ASSERT_TRUE(added);
        EXPECT_EQ(added->Parent(), foodNode(parent)) << selected;
        EXPECT_EQ(
            value(QStringLiteral("SELECT GroupName || ' ' || ParentGroup || ' ' || GroupTag "
                                 "FROM FoodGroup WHERE GroupId = %1")
                      .arg(nodeId(added->Key()))),
            QStringLiteral("New Food Group %1 GROUP").arg(nodeId(QString::fromLatin1(parent))));
        type(sixty + QStringLiteral("0123456789")); // 70 typed: 60 kept, 60 shown
        EXPECT_EQ(added->Text(), sixty);
    }
    // A food among the favourites puts its new group under the favourites.
    click(t, foodNode("G2")->Child(0));
    choose("mnuEditNewFoodGroup");
    EXPECT_EQ(t->selectedNode()->Parent(), foodNode("G2"));
    type(QStringLiteral("Favourite group"));
    EXPECT_TRUE(boxes.boxes().empty());

    // The root can be renamed too: it keeps its tag, and the top level is sorted again.
    click(t, foodNode("G1"));
    choose("mnuEditRename");
    type(QStringLiteral("All foods"));
    EXPECT_EQ(TreeNode::of(t->topLevelItem(0)), foodNode("G1"));
    EXPECT_EQ(foodNode("G1")->Tag(), QStringLiteral("GROUPROOT"));
    EXPECT_EQ(value(QStringLiteral("SELECT GroupTag FROM FoodGroup WHERE GroupName = 'All foods'")),
              QStringLiteral("GROUPROOT"));

    // A food dragged onto another group moves there, keeping its id.
    drag(t, foodNode("F900001"), Qt::LeftButton, [this](const QMimeData& data) {
        EXPECT_TRUE(highlightedOver(data, foodNode("G2")));
        EXPECT_FALSE(highlightedOver(data, foodNode("F900002"))) << "a food";
        EXPECT_FALSE(highlightedOver(data, foodNode("G1"))) << "the root";
        dropOn(data, foodNode("F900002")); // nothing happens
        dropOn(data, foodNode("G501"));    // never opened
    });
    EXPECT_EQ(foodNode("F900001")->Parent(), foodNode("G501"));
    EXPECT_EQ(t->selectedNode(), foodNode("F900001"));
    EXPECT_EQ(value(QStringLiteral("SELECT GroupId FROM FoodItem WHERE FoodId = 900001")), 501);
    EXPECT_EQ(t->dropHighlight(), nullptr);

    // A diet entry dragged over the food tree is no food: nothing lights up, nothing moves.
    doubleClick(w().tvwDiet, w().tvwDiet->Item(QStringLiteral("DT20261205")));
    drag(w().tvwDiet, w().tvwDiet->Item(QStringLiteral("D1")), Qt::LeftButton,
         [this](const QMimeData& data) {
             EXPECT_FALSE(highlightedOver(data, foodNode("G2")));
             dropOn(data, foodNode("G500"));
         });
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM FoodItem WHERE GroupId = 500")), 1);
    EXPECT_TRUE(w().tvwDiet->Item(QStringLiteral("D1")));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(FoodGroupsTest, DeletingAFoodOrAGroupWithItsFoodsLeavesTheDietLogAlone) {
    prepare(kGroups +
            QStringList{QStringLiteral("INSERT INTO FoodItem (FoodId, GroupId, FoodName) VALUES "
                                       "(900003, 500, 'Quince'), (900004, 500, 'Raisin')")});
    start();
    TreeControl* t = w().tvwFood;
    doubleClick(t, foodNode("G500"));
    click(t, foodNode("F900004"));
    boxes.answer(vbNo);
    choose("Delete");
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Are you sure you want to Delete Food Item: Raisin"));
    EXPECT_TRUE(foodNode("F900004"));
    choose("Delete"); // the food above is selected
    EXPECT_FALSE(foodNode("F900004"));
    EXPECT_EQ(t->selectedNode(), foodNode("F900003"));
    click(t, foodNode("F900001"));
    choose("Delete"); // the first food: its group is selected
    EXPECT_EQ(t->selectedNode(), foodNode("G500"));
    EXPECT_EQ(
        value(QStringLiteral("SELECT group_concat(FoodId) FROM FoodItem WHERE GroupId = 500")),
        QStringLiteral("900002,900003"));

    click(t, foodNode("G501"));
    boxes.answer(vbNo);
    choose("Delete");
    EXPECT_EQ(
        boxes.boxes().back().prompt,
        QStringLiteral("Are you sure you want to Delete the 'Aab nuts' Food Group and all of its "
                       "associated Food Items?"));
    EXPECT_TRUE(foodNode("G501"));
    choose("Delete"); // the group above is selected
    EXPECT_FALSE(foodNode("G501"));
    EXPECT_EQ(t->selectedNode(), foodNode("G500"));
    choose("mnuEditDelete"); // the first group: its parent is selected
    EXPECT_FALSE(foodNode("G500"));
    EXPECT_FALSE(foodNode("F900002"));
    EXPECT_EQ(t->selectedNode(), foodNode("G1"));
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM FoodItem WHERE GroupId IN (500, 501)")),
              0);
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM FoodGroup WHERE GroupId IN (500, 501)")),
              0);
    EXPECT_EQ(value(QStringLiteral("SELECT FoodName FROM DietActivity WHERE DietId = 1")),
              QStringLiteral("Apple"));
}

TEST_F(FoodGroupsTest, AFailedWriteLeavesTheTreeAndTheCatalogueAsTheyWere) {
    prepare(kGroups);
    start();
    // Added to the open log: the program refuses to open a log that holds a trigger.
    for (const char* refusal : {"CREATE TRIGGER NoNewGroups BEFORE INSERT ON FoodGroup "
                                "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                                "CREATE TRIGGER NoGroupDeletes BEFORE DELETE ON FoodGroup "
                                "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                                "CREATE TRIGGER NoRenames BEFORE UPDATE ON FoodGroup "
                                "BEGIN SELECT RAISE(ABORT, 'refused'); END"})
        gDataSource->appDB.execute(QString::fromLatin1(refusal));
    TreeControl* t = w().tvwFood;
    const int nodes = t->Count();
    click(t, foodNode("G500"));
    choose("NewGroup");
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Unable to update Food Group Data.  ") + gSupportMsg);
    EXPECT_EQ(t->Count(), nodes);

    // The foods go first, inside the transaction: the group's refusal brings them back.
    choose("Delete");
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Unable to delete the selected food group.  ") + gSupportMsg);
    EXPECT_TRUE(foodNode("G500"));
    EXPECT_EQ(value(QStringLiteral("SELECT count(*) FROM FoodItem WHERE GroupId = 500")), 2);
    EXPECT_FALSE(gDataSource->closed());

    // A rename that is not written leaves the stored name on the node.
    choose("mnuEditRename");
    type(QStringLiteral("Berries"));
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Unable to update Food Data.  ") + gSupportMsg);
    EXPECT_EQ(foodNode("G500")->Text(), QStringLiteral("Aaa fruit"));
}
