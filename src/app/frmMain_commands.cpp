// Commands of the Edit, Tools and Help menus that the food catalogue, the diet log and the tools
// carry out; each menu item, its popup twin and its toolbar button run the same handler.
#include "frmMain.h"

#include "Config.h"
#include "DietLog.h"
#include "FoodCatalog.h"
#include "Module1.h"
#include "TodayCalories.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "frmAbout.h"
#include "frmDailyTargets.h"
#include "frmHelp.h"
#include "frmOptions.h"
#include "frmPurgeData.h"
#include "frmReport.h"

#include <QLabel>

void frmMain::mnuEditNewFoodGroup_Click() {
    food->NewFoodGroup();
}
void frmMain::mnuEditNewFoodItem_Click() {
    food->NewFoodItem();
}
void frmMain::mnuEditDietDetails_Click() {
    diet->ShowDietTotals();
}
void frmMain::mnuEditFoodDetails_Click() {
    food->ShowFoodDetails();
}
void frmMain::mnuEditFoodFav_Click() {
    food->CopyFoodToFavorites();
}
void frmMain::mnuEditAddToDiet_Click() {
    food->AddToDietLog();
}
TreeCommands& frmMain::activeTree() {
    if (parts.state.strActiveTree == u"FOODS")
        return *food;
    return *diet;
}
void frmMain::editCommand(void (TreeCommands::*command)()) {
    TreeCommands& tree = activeTree(); // the command may move the focus to the other tree
    (tree.*command)();
    if (&tree == static_cast<TreeCommands*>(diet.get()))
        parts.dietChanged();
}
void frmMain::mnuEditCut_Click() {
    editCommand(&TreeCommands::Cut);
}
void frmMain::mnuEditCopy_Click() {
    activeTree().Copy();
}
void frmMain::mnuEditPaste_Click() {
    editCommand(&TreeCommands::Paste);
}
void frmMain::mnuEditDelete_Click() {
    editCommand(&TreeCommands::Delete);
}
void frmMain::mnuEditRename_Click() {
    food->StartRename();
}
void frmMain::mnuEditDietEntry_Click() {
    if (tvwDiet->selectedNode())
        diet->tvwDiet_DblClick();
}
void frmMain::mnuToolsOptions_Click() {
    if (ShowOptions(this))
        diet->ReloadDietLog();
    // A new display name of the current user shows at once, whether or not the user changed.
    sbPanel2->setText(QStringLiteral("User:  ") + GetConfigValue(gCurrentUser));
    sbPanel2->setToolTip(QStringLiteral("Current User"));
}
void frmMain::mnuToolsTargets_Click() {
    if (!ShowDailyTargets(this))
        return;
    today->forgetTargets();
    today->refresh();
}
void frmMain::mnuToolsDietReport_Click() {
    // Disabled while it runs, so a second report cannot start from inside the first.
    parts.enable({Command::ToolsDietReport}, false);
    ProduceDietReport(this);
    parts.enable({Command::ToolsDietReport}, true);
}
void frmMain::mnuToolsPurgeDietData_Click() {
    if (PurgeDietData(this))
        diet->ReloadDietLog();
}
void frmMain::mnuHelpContents_Click() {
    ShowHelpContents(this, windowTitle());
}
void frmMain::mnuHelpSearchForHelpOn_Click() {
    ShowHelpSearch(this, windowTitle());
}
void frmMain::mnuHelpAbout_Click() {
    ShowAboutBox(this);
}
