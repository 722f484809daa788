// The diet tree: the current user's days, entries loaded when a day is opened, and what focus,
// clicks and keys enable and do.
#include "MainWindowFixture.h"
#include "Module1.h"
#include "ShowModal.h"
#include "clsFWSDataSource.h"

#include <QApplication>
#include <QLabel>

namespace {
const QStringList kLog = {
    dietRow(37, "USER1", "2026-12-05", "Apple"), dietRow(40, "USER1", "2026-12-05", "apple"),
    dietRow(38, "USER1", "2026-12-05", "Apple"), dietRow(39, "USER1", "2026-12-03", "Bread"),
    dietRow(41, "USER2", "2026-12-04", "Someone elses soup")};
} // namespace

TEST_F(MainWindowTest, DaysShowFirstAndTheirEntriesLoadOnceWhenOpened) {
    prepare(kLog);
    start();
    TreeControl* t = w().tvwDiet;
    ASSERT_EQ(t->topLevelItemCount(), 2); // only the current user's days
    TreeNode* dec3 = TreeNode::of(t->topLevelItem(0));
    TreeNode* dec5 = TreeNode::of(t->topLevelItem(1));
    const auto scheme = [](const TreeNode* n) {
        return QStringList{n->Key(), n->Text(), n->Tag(), n->Image()}.join(u' ');
    };
    EXPECT_EQ(scheme(dec5), QStringLiteral("DT20261205 2026-12-05 DIETDAY DayClosed"));
    EXPECT_EQ(dec3->Children() + dec5->Children(), 0);

    t->setFocus();
    t->selectNode(dec5);
    key(t, Qt::Key_Return);
    ASSERT_EQ(dec5->Children(), 3);
    EXPECT_EQ(scheme(dec5->Child(0)), QStringLiteral("D37 Apple DIETITEM DietItem"));
    EXPECT_EQ(dec5->Child(1)->Key(), QStringLiteral("D38")); // same name: by DietId
    EXPECT_EQ(dec5->Child(2)->Key(), QStringLiteral("D40"));
    EXPECT_TRUE(dec5->isExpanded());
    EXPECT_EQ(dec5->Image(), QStringLiteral("DayOpen"));

    doubleClick(t, dec5); // already loaded: no second copy
    EXPECT_EQ(dec5->Children(), 3);

    t->selectNode(dec5->Child(1));
    key(t, Qt::Key_Escape);
    EXPECT_FALSE(dec5->isExpanded());
    EXPECT_EQ(dec5->Image(), QStringLiteral("DayClosed"));
    key(t, Qt::Key_Return); // Enter on an entry does nothing
    EXPECT_EQ(t->Count(), 5);
}

TEST_F(MainWindowTest, FocusAndClicksOnTheDietTreeSwitchTheEditCommands) {
    prepare(kLog);
    start();
    QApplication::setActiveWindow(&w());
    TreeControl* food = w().tvwFood;
    TreeControl* diet = w().tvwDiet;
    TreeNode* dec5 = diet->Item(QStringLiteral("DT20261205"));
    doubleClick(diet, dec5);

    // A food click enables Cut and Copy; entering the diet tree leaves them so.
    TreeNode* fav = food->Item(QStringLiteral("G2"));
    click(food, fav->Child(0));
    EXPECT_TRUE(enabled("mnuEditCut"));
    diet->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    for (const char* on : {"mnuEditDelete", "Delete", "mnuEditDietDetails",
                           "mnuPop_RTB_DietDetails", "mnuEditCut", "Copy"})
        EXPECT_TRUE(enabled(on)) << on;
    for (const char* off : {"mnuEditFoodDetails", "mnuEditRename", "mnuEditNew", "NewFood",
                            "NewGroup", "mnuEditFoodFav", "mnuEditPaste"})
        EXPECT_FALSE(enabled(off)) << off;
    EXPECT_TRUE(w().sbPanel1->text().isEmpty());

    click(diet, dec5);
    for (const char* off : {"mnuEditCut", "Cut", "mnuEditDietEntry", "mnuPop_RTB_DietEntry"})
        EXPECT_FALSE(enabled(off)) << off;
    EXPECT_TRUE(enabled("Copy"));   // the whole day
    EXPECT_FALSE(diet->autoDrag()); // a day cannot be dragged

    click(diet, dec5->Child(2));
    EXPECT_TRUE(enabled("mnuEditCut"));
    EXPECT_TRUE(enabled("mnuEditDietEntry"));
    EXPECT_TRUE(diet->autoDrag());
    EXPECT_EQ(gDataSource->rscmdDietData->Fields(QStringLiteral("DietId")).toLongLong(), 40);

    // A right click on an entry positions on it and opens the popup with the old states.
    click(diet, dec5, Qt::LeftButton);
    bool cutWhenShown = true;
    setPopupHandler([&](QMenu&, const QPoint&) {
        ++popups;
        cutWhenShown = enabled("mnuPop_RTB_Cut");
    });
    click(diet, dec5->Child(0), Qt::RightButton);
    EXPECT_EQ(popups, 1);
    EXPECT_FALSE(cutWhenShown);
    EXPECT_TRUE(enabled("mnuPop_RTB_Cut"));
    EXPECT_EQ(gDataSource->rscmdDietData->Fields(QStringLiteral("DietId")).toLongLong(), 37);

    // Paste is offered on entering the tree only once an entry has been copied.
    choose("mnuEditCopy");
    food->setFocus(Qt::TabFocusReason);
    diet->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(enabled("mnuEditPaste"));
}
