// The user's own groups: where a new group goes, naming it in place, renaming top-level groups,
// and deleting a group with its foods.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "SqlProbe.h"
#include "clsFWSDataSource.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

namespace {
const QStringList kGroups = {
    QStringLiteral("INSERT INTO FoodGroup VALUES (500, 'Aaa fruit', 1, 'GROUP'), "
                   "(501, 'Aab nuts', 1, 'GROUP')"),
    QStringLiteral("INSERT INTO FoodItem (FoodId, GroupId, FoodName) VALUES "
                   "(900001, 500, 'Apple'), (900002, 500, 'Pear')"),
    dietRow(1, "USER1", "2026-12-05", "Apple")};
} // namespace

class FoodGroupsTest : public MainWindowTest {
protected:
    QVariant sql(const QString& query) {
        const auto rs = Recordset::openSnapshot(gDataSource->appDB, query);
        return rs->eof() ? QVariant() : rs->Fields(rs->fieldNames().first());
    }
    // Types into the open label editor and ends the edit with Enter.
    void type(const QString& text) {
        QApplication::processEvents(); // the tree lays itself out, as before a person types
        auto* editor = w().tvwFood->viewport()->findChild<QLineEdit*>();
        ASSERT_TRUE(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }
    TreeNode* node(const char* key) { return w().tvwFood->Item(QString::fromLatin1(key)); }
};

TEST_F(FoodGroupsTest, ANewGroupGoesUnderTheSelectionsTopGroupAndIsNamedAtOnce) {
    prepare(kGroups);
    start();
    TreeControl* t = w().tvwFood;
    doubleClick(t, node("G500"));
    const QString sixty = QString(60, u'x');
    // The selection and where its new group goes: {selected, parent}.
    const std::pair<const char*, const char*> cases[] = {
        {"F900001", "G1"}, {"G500", "G1"}, {"G1", "G1"}, {"G2", "G2"}};
    for (const auto& [selected, parent] : cases) {
        click(t, node(selected));
        choose("NewGroup");
        TreeNode* added = t->selectedNode();
        ASSERT_TRUE(added);
        EXPECT_EQ(added->Parent(), node(parent)) << selected;
        EXPECT_EQ(
            sql(QStringLiteral("SELECT GroupName || ' ' || ParentGroup || ' ' || GroupTag "
                               "FROM FoodGroup WHERE GroupId = %1")
                    .arg(nodeId(added->Key()))),
            QStringLiteral("New Food Group %1 GROUP").arg(nodeId(QString::fromLatin1(parent))));
        type(sixty + QStringLiteral("0123456789")); // 70 typed: 60 kept, 60 shown
        EXPECT_EQ(added->Text(), sixty);
    }
    // A food among the favourites puts its new group under the favourites.
    click(t, node("G2")->Child(0));
    choose("mnuEditNewFoodGroup");
    EXPECT_EQ(t->selectedNode()->Parent(), node("G2"));
    type(QStringLiteral("Mom's \"best\" \u00c4"));
    EXPECT_EQ(sql(QStringLiteral("SELECT count(*) FROM FoodGroup WHERE GroupName = 'Mom''s "
                                 "\"best\" \u00c4'")),
              1);
    EXPECT_TRUE(boxes.boxes().empty());

    // The root can be renamed too: it keeps its tag, and the top level is sorted again.
    click(t, node("G1"));
    choose("mnuEditRename");
    type(QStringLiteral("All foods"));
    EXPECT_EQ(TreeNode::of(t->topLevelItem(0)), node("G1"));
    EXPECT_EQ(node("G1")->Tag(), QStringLiteral("GROUPROOT"));
    EXPECT_EQ(sql(QStringLiteral("SELECT GroupTag FROM FoodGroup WHERE GroupName = 'All foods'")),
              QStringLiteral("GROUPROOT"));
}

TEST_F(FoodGroupsTest, DeletingAFoodOrAGroupWithItsFoodsLeavesTheDietLogAlone) {
    prepare(kGroups +
            QStringList{QStringLiteral("INSERT INTO FoodItem (FoodId, GroupId, FoodName) VALUES "
                                       "(900003, 500, 'Quince'), (900004, 500, 'Raisin')")});
    start();
    TreeControl* t = w().tvwFood;
    doubleClick(t, node("G500"));
    click(t, node("F900004"));
    boxes.answer(vbNo);
    choose("Delete");
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Are you sure you want to Delete Food Item: Raisin"));
    EXPECT_TRUE(node("F900004"));
    choose("Delete"); // the food above is selected
    EXPECT_FALSE(node("F900004"));
    EXPECT_EQ(t->selectedNode(), node("F900003"));
    click(t, node("F900001"));
    choose("Delete"); // the first food: its group is selected
    EXPECT_EQ(t->selectedNode(), node("G500"));
    EXPECT_EQ(sql(QStringLiteral("SELECT group_concat(FoodId) FROM FoodItem WHERE GroupId = 500")),
              QStringLiteral("900002,900003"));

    click(t, node("G501"));
    boxes.answer(vbNo);
    choose("Delete");
    EXPECT_EQ(
        boxes.boxes().back().prompt,
        QStringLiteral("Are you sure you want to Delete the 'Aab nuts' Food Group and all of its "
                       "associated Food Items?"));
    EXPECT_TRUE(node("G501"));
    choose("Delete"); // the group above is selected
    EXPECT_FALSE(node("G501"));
    EXPECT_EQ(t->selectedNode(), node("G500"));
    choose("mnuEditDelete"); // the first group: its parent is selected
    EXPECT_FALSE(node("G500"));
    EXPECT_FALSE(node("F900002"));
    EXPECT_EQ(t->selectedNode(), node("G1"));
    EXPECT_EQ(sql(QStringLiteral("SELECT count(*) FROM FoodItem WHERE GroupId IN (500, 501)")), 0);
    EXPECT_EQ(sql(QStringLiteral("SELECT count(*) FROM FoodGroup WHERE GroupId IN (500, 501)")), 0);
    EXPECT_EQ(sql(QStringLiteral("SELECT FoodName FROM DietActivity WHERE DietId = 1")),
              QStringLiteral("Apple"));
}

TEST_F(FoodGroupsTest, AFailedWriteLeavesTheTreeAndTheCatalogueAsTheyWere) {
    prepare(kGroups +
            QStringList{QStringLiteral("CREATE TRIGGER NoNewGroups BEFORE INSERT ON FoodGroup "
                                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"),
                        QStringLiteral("CREATE TRIGGER NoGroupDeletes BEFORE DELETE ON FoodGroup "
                                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"),
                        QStringLiteral("CREATE TRIGGER NoRenames BEFORE UPDATE ON FoodGroup "
                                       "BEGIN SELECT RAISE(ABORT, 'refused'); END")});
    start();
    TreeControl* t = w().tvwFood;
    const int nodes = t->Count();
    click(t, node("G500"));
    choose("NewGroup");
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Unable to update Food Group Data.  ") + gSupportMsg);
    EXPECT_EQ(t->Count(), nodes);

    // The foods go first, inside the transaction: the group's refusal brings them back.
    choose("Delete");
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Unable to delete the selected food group.  ") + gSupportMsg);
    EXPECT_TRUE(node("G500"));
    EXPECT_EQ(sql(QStringLiteral("SELECT count(*) FROM FoodItem WHERE GroupId = 500")), 2);
    EXPECT_FALSE(gDataSource->closed());

    // A rename that is not written leaves the stored name on the node.
    choose("mnuEditRename");
    type(QStringLiteral("Berries"));
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Unable to update Food Data.  ") + gSupportMsg);
    EXPECT_EQ(node("G500")->Text(), QStringLiteral("Aaa fruit"));
}

TEST_F(FoodGroupsTest, AFoodDraggedOntoAnotherGroupMovesThereKeepingItsId) {
    prepare(kGroups);
    start();
    TreeControl* t = w().tvwFood;
    doubleClick(t, node("G500"));
    drag(t, node("F900001"), Qt::LeftButton, [this](const QMimeData& data) {
        EXPECT_TRUE(highlightedOver(data, node("G2")));
        EXPECT_FALSE(highlightedOver(data, node("F900002"))) << "a food";
        EXPECT_FALSE(highlightedOver(data, node("G1"))) << "the root";
        dropOn(data, node("F900002")); // nothing happens
        dropOn(data, node("G501"));    // never opened
    });
    EXPECT_EQ(node("F900001")->Parent(), node("G501"));
    EXPECT_EQ(t->selectedNode(), node("F900001"));
    EXPECT_EQ(sql(QStringLiteral("SELECT GroupId FROM FoodItem WHERE FoodId = 900001")), 501);
    EXPECT_EQ(t->dropHighlight(), nullptr);

    // A diet entry dragged over the food tree is no food: nothing lights up, nothing moves.
    doubleClick(w().tvwDiet, w().tvwDiet->Item(QStringLiteral("DT20261205")));
    drag(w().tvwDiet, w().tvwDiet->Item(QStringLiteral("D1")), Qt::LeftButton,
         [this](const QMimeData& data) {
             EXPECT_FALSE(highlightedOver(data, node("G2")));
             dropOn(data, node("G500"));
         });
    EXPECT_EQ(sql(QStringLiteral("SELECT count(*) FROM FoodItem WHERE GroupId = 500")), 1);
    EXPECT_TRUE(w().tvwDiet->Item(QStringLiteral("D1")));
    EXPECT_TRUE(boxes.boxes().empty());
}
