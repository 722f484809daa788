// Commands of the Edit, Tools and Help menus that the food catalogue, the diet log and the tools
// carry out; each menu item, its popup twin and its toolbar button run the same handler.
#include "frmMain.h"

void frmMain::mnuEditNewFoodGroup_Click() {}
void frmMain::mnuEditNewFoodItem_Click() {}
void frmMain::mnuEditDietDetails_Click() {
    ShowDietTotals();
}
void frmMain::mnuEditFoodDetails_Click() {}
void frmMain::mnuEditFoodFav_Click() {}
void frmMain::mnuEditCut_Click() {}
void frmMain::mnuEditCopy_Click() {}
void frmMain::mnuEditPaste_Click() {}
void frmMain::mnuEditDelete_Click() {}
void frmMain::mnuEditFindEntry_Click() {}
void frmMain::mnuEditFindNext_Click() {}
void frmMain::mnuToolsOptions_Click() {}
void frmMain::mnuToolsDietReport_Click() {}
void frmMain::mnuToolsPurgeDietData_Click() {}
void frmMain::mnuHelpContents_Click() {}
void frmMain::mnuHelpSearchForHelpOn_Click() {}
void frmMain::mnuHelpAbout_Click() {}
