// Copying, cutting and pasting foods, copying them to the favourites, renaming them in place,
// and a paste whose save failed offered again.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "clsFWSDataSource.h"

#include <QApplication>

namespace {
const QStringList kFoods = {
    QStringLiteral("INSERT INTO FoodGroup VALUES (500, 'Aaa fruit', 1, 'GROUP'), "
                   "(501, 'Aab nuts', 1, 'GROUP')"),
    QStringLiteral("INSERT INTO FoodItem (FoodId, GroupId, FoodName, ServingSize, Fat, Other1, "
                   "USDA_NDB_NO, USDA_MSRE_NO, USDA_GM_WT) VALUES "
                   "(900001, 500, 'Apple', '1 medium', 0.3, NULL, 9003, 1, 182.5), "
                   "(900002, 500, 'Pear', '1 large', 0.2, 1, 0, 0, 0)")};
} // namespace

class FoodClipboardTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        prepare(kFoods);
        start();
        QApplication::setActiveWindow(&w());
        t = w().tvwFood;
        doubleClick(t, foodNode("G500"));
        t->setFocus(Qt::TabFocusReason);
    }
    // A food's columns as they are stored, for comparing copies.
    QString food(long id) {
        return sql(QStringLiteral("SELECT FoodName || '|' || ServingSize || '|' || Fat || '|' || "
                                  "ifnull(Other1, 'null') || '|' || USDA_NDB_NO || '|' || "
                                  "USDA_MSRE_NO || '|' || USDA_GM_WT FROM FoodItem WHERE FoodId "
                                  "= %1")
                       .arg(id));
    }
    long selectedId() { return nodeId(t->selectedNode()->Key()); }
    TreeControl* t = nullptr;
};

TEST_F(FoodClipboardTest, APastedFoodIsANewFoodInTheTargetGroupWithTheSameValues) {
    click(t, foodNode("F900001"));
    EXPECT_FALSE(enabled("mnuEditPaste"));
    choose("Copy");
    click(t, foodNode("G501")); // never opened
    choose("Paste");
    const long first = selectedId();
    EXPECT_NE(first, 900001);
    EXPECT_EQ(t->selectedNode()->Parent(), foodNode("G501"));
    EXPECT_EQ(food(first), food(900001));
    EXPECT_EQ(sql(QStringLiteral("SELECT GroupId FROM FoodItem WHERE FoodId = %1").arg(first)),
              QStringLiteral("501"));
    choose("Paste"); // onto the pasted food: into its group, a second copy
    EXPECT_EQ(foodNode("G501")->Children(), 2);

    // Cut asks, takes the food away and keeps it for the paste.
    click(t, foodNode("F900002"));
    choose("mnuEditCut");
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Are you sure you want to Cut Food Item: Pear"));
    EXPECT_FALSE(foodNode("F900002"));
    click(t, foodNode("G501"));
    choose("mnuEditPaste");
    EXPECT_EQ(food(selectedId()), QStringLiteral("Pear|1 large|0.2|1.0|0|0|0.0"));
    EXPECT_TRUE(food(900002).isEmpty());
    EXPECT_EQ(boxes.boxes().size(), 1u);
}

TEST_F(FoodClipboardTest, ACopyToTheFavouritesIsIndependentAndLeavesNothingToPaste) {
    click(t, foodNode("F900001"));
    choose("mnuEditFoodFav");
    const long copy = selectedId();
    EXPECT_EQ(t->selectedNode()->Parent(), foodNode("G2"));
    EXPECT_EQ(food(copy), food(900001));
    click(t, foodNode("F900002"));
    EXPECT_FALSE(enabled("mnuEditPaste"));

    // Renaming the original leaves the copy: 210 typed, 200 kept, the food re-sorted.
    const QString name = QStringLiteral("Zed ") + QString(206, u'z');
    const QString stored = QStringLiteral("SELECT FoodName FROM FoodItem WHERE FoodId = ?");
    click(t, foodNode("F900001"));
    // A blank name is not written: the food keeps its stored name, without a message.
    for (const QString& typed : {name, QStringLiteral("   ")}) {
        choose("mnuEditRename");
        type(typed);
        EXPECT_EQ(sql(stored, {900001}), name.left(200));
        EXPECT_EQ(foodNode("F900001")->Text(), name.left(200));
    }
    EXPECT_EQ(foodNode("G500")->Child(1), foodNode("F900001")) << "after Pear";
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(sql(stored, {qlonglong(copy)}), QStringLiteral("Apple"));
}

TEST_F(FoodClipboardTest, APasteWhoseSaveFailedIsOfferedAgainAtTheNextTurnToATree) {
    click(t, foodNode("F900001"));
    choose("Copy");
    // A food already holds the next key, so the pasted one cannot be written.
    gDataSource->appDB.execute(
        QStringLiteral("INSERT INTO FoodItem (FoodId, GroupId, FoodName) SELECT KeyValue + 1, "
                       "500, 'In the way' FROM TableKey WHERE KeyName = 'FOODITEM'"));
    click(t, foodNode("G501"));
    choose("Paste");
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Unable to update Food Data.  ") + gSupportMsg);
    EXPECT_EQ(foodNode("G501")->Children(), 0);

    // Renaming another food writes that food, not the paste waiting to be saved.
    gDataSource->appDB.execute(
        QStringLiteral("DELETE FROM FoodItem WHERE FoodName = 'In the way'"));
    click(t, foodNode("F900002"));
    choose("mnuEditRename");
    type(QStringLiteral("Quince"));
    EXPECT_EQ(sql(QStringLiteral("SELECT FoodName FROM FoodItem WHERE FoodId = 900002")),
              QStringLiteral("Quince"));
    EXPECT_EQ(sql(QStringLiteral("SELECT count(*) FROM FoodItem WHERE GroupId = 501")),
              QStringLiteral("0"));

    boxes.answer(vbYes);
    w().tvwDiet->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Do you want to save this new Food Item?"));
    EXPECT_EQ(foodNode("G501")->Children(), 1);
    EXPECT_EQ(food(nodeId(foodNode("G501")->Child(0)->Key())), food(900001));
    const size_t asked = boxes.boxes().size();
    t->setFocus(Qt::TabFocusReason); // nothing pending any more
    EXPECT_EQ(boxes.boxes().size(), asked);
}
