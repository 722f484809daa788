// Commands of the Edit, Tools and Help menus that the food catalogue, the diet log and the tools
// carry out; each menu item, its popup twin and its toolbar button run the same handler.
#include "frmMain.h"

#include "Module1.h"
#include "clsFWSDataSource.h"
#include "frmAbout.h"
#include "frmHelp.h"

void frmMain::mnuEditNewFoodGroup_Click() {}
void frmMain::mnuEditNewFoodItem_Click() {}
void frmMain::mnuEditDietDetails_Click() {
    ShowDietTotals();
}
void frmMain::mnuEditFoodDetails_Click() {}
void frmMain::mnuEditFoodFav_Click() {}
void frmMain::mnuEditCut_Click() {
    if (strActiveTree != u"FOODS")
        DeleteDietEntry(QStringLiteral("CUT"));
}
void frmMain::mnuEditCopy_Click() {
    if (strActiveTree != u"FOODS" && gDataSource->rscmdDietData) {
        try {
            CopyDietEntry(*gDataSource->rscmdDietData);
        } catch (const DbError&) {
            // Nothing current to copy: the clipboard keeps what it had.
        }
    }
}
void frmMain::mnuEditPaste_Click() {
    if (strActiveTree != u"FOODS")
        PasteDietEntry();
}
void frmMain::mnuEditDelete_Click() { DeleteSelected(); }
void frmMain::mnuEditFindEntry_Click() {}
void frmMain::mnuEditFindNext_Click() {}
void frmMain::mnuToolsOptions_Click() {}
void frmMain::mnuToolsDietReport_Click() {}
void frmMain::mnuToolsPurgeDietData_Click() {}
void frmMain::mnuHelpContents_Click() { ShowHelpContents(this, windowTitle()); }
void frmMain::mnuHelpSearchForHelpOn_Click() { ShowHelpSearch(this, windowTitle()); }
void frmMain::mnuHelpAbout_Click() { ShowAboutBox(this); }
