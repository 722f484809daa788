#pragma once
// The one main window: the food tree above the diet tree, menus, popup menu, toolbar and status
// bar, placement, load and unload. Its menu and toolbar commands go to the controller of the
// active tree: the food catalogue (FoodCatalog) or the diet log (DietLog).
#include "MainParts.h"

#include <QMainWindow>
#include <array>
#include <memory>

class DietLog;
class FoodCatalog;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTimer;
class QToolBar;
class TodayCalories;
class TreeControl;
class frmFind;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    void Form_Load();
    // Closes the window after a failed command has been reported.
    void closeAfterFailure();

    // The menu, popup and toolbar actions by system name (mnuEditCut, mnuPop_RTB_Cut, Cut...).
    QAction* action(const QString& name) const;
    FoodCatalog& foodCatalog() { return *food; }
    DietLog& dietLog() { return *diet; }

    // ---- Widgets (the system's controls) ------------------------------------------------
    QGroupBox* frameFood = nullptr;
    TreeControl* tvwFood = nullptr;
    TreeControl* tvwDiet = nullptr;
    QPlainTextEdit* txtActivity = nullptr;
    QToolBar* tbToolBar = nullptr;
    QLabel* sbPanel1 = nullptr;
    QLabel* sbPanel2 = nullptr;
    QLabel* sbPanel3 = nullptr;
    QLabel* sbPanelToday = nullptr; // today's calories, beside the user
    QMenu* mnuPop_RTB = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Resize();
    void Form_QueryUnload();
    void Form_Unload();
    // Runs the command of the toolbar button clicked, as its menu item does.
    void tbToolBar_ButtonClick(Command command);

    // ---- Menu commands --------------------------------------------------------------------
    void mnuFileRestore_Click();
    void mnuFileExit_Click();
    void mnuEditNewFoodGroup_Click();
    void mnuEditNewFoodItem_Click();
    void mnuEditDietDetails_Click();
    void mnuEditDietEntry_Click();
    void mnuEditFoodDetails_Click();
    void mnuEditFoodFav_Click();
    void mnuEditAddToDiet_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditDelete_Click();
    void mnuEditFindEntry_Click();
    void mnuEditFindNext_Click();
    // Finds the next food or diet entry whose name contains the find dialog's text (after the
    // dialog, unless blnNext) and selects it in its tree.
    void FindEntry(bool blnNext);
    void mnuEditRename_Click();
    void mnuToolsOptions_Click();
    void mnuToolsTargets_Click();
    void mnuToolsDietReport_Click();
    void mnuToolsPurgeDietData_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearchForHelpOn_Click();
    void mnuHelpAbout_Click();

    void buildControls();
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void restorePlacement();
    void savePlacement();
    void refreshDate();
    // After a restore: the result sets, the current user and both trees read again.
    void reloadAfterRestore();
    // The controller the Edit commands go to: the food tree's while it is the active tree.
    TreeCommands& activeTree();
    // Runs an Edit command on the active tree; on the diet tree, today's calories follow.
    void editCommand(void (TreeCommands::*command)());

    MainParts parts;
    // The handler of each command, as its menu item runs it.
    std::array<void (frmMain::*)(), std::size_t(Command::Count_)> handlers{};
    std::unique_ptr<DietLog> diet;
    std::unique_ptr<FoodCatalog> food;
    QWidget* centre = nullptr;
    QTimer* dateTimer = nullptr;
    TodayCalories* today = nullptr;
    frmFind* FindDialog = nullptr; // one for the window's life: its text and choice carry over
    bool unloaded = false;
    bool closingAfterFailure = false;
};
