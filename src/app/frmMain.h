#pragma once
// The one main window: the food tree above the diet tree, menus, popup menu, toolbar and status
// bar, and the state that connects the food catalogue to the diet log. The window's own shell
// is defined in src/app; the food tree's behaviour in src/food, the diet tree's in src/diet.
#include "DietClip.h"

#include <QDate>
#include <QMainWindow>
#include <QMimeData>
#include <QPointer>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTimer;
class QToolBar;
class Recordset;
class TreeControl;
class TreeNode;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // ---- Shell --------------------------------------------------------------------------
    void Form_Load();
    void Form_Resize();
    void Form_QueryUnload();
    void Form_Unload();
    void tbToolBar_ButtonClick(const QString& key);

    // ---- Food tree ----------------------------------------------------------------------
    void LoadFoodTree();
    void LoadGroupFoods(long groupId);
    void AddFoodNode(long groupId, long foodId, const QString& foodName, bool loading);
    void LocateFood(const QString& key, const QString& tag);
    void LocateGroup(const QString& key);
    QString GroupNameOf(long groupId);
    void tvwFood_NodeClick(TreeNode* node);
    void tvwFood_MouseDown(int button, int shift, int x, int y);
    void tvwFood_KeyDown(int keyCode, int shift);
    void tvwFood_DblClick();
    void tvwFood_GotFocus();
    void tvwFood_Collapse(TreeNode* node);
    void tvwFood_Expand(TreeNode* node);
    void StartRename();
    void CollapseToParent();
    void JumpToLetter(int keyCode);

    // ---- Diet tree ----------------------------------------------------------------------
    void LoadDietDates();
    void LoadDietItems(const QDate& day);
    void AddDietNode(Recordset& rs, const QString& tag, bool loading);
    void FindDietEntry(const QString& key);
    void tvwDiet_NodeClick(TreeNode* node);
    void tvwDiet_MouseDown(int button, int shift, int x, int y);
    void tvwDiet_KeyDown(int keyCode, int shift);
    void tvwDiet_DblClick();
    void tvwDiet_GotFocus();
    void tvwDiet_Collapse(TreeNode* node);
    void tvwDiet_Expand(TreeNode* node);
    void CollapseDietDay();

    // ---- Diet entries: adding, dragging, editing ------------------------------------------
    void AddDietEntry(double servings, const QDate& date, const QString& servingText,
                      long measureNo, long gramWeight);
    long FindMeasureIndex(long measureNo);
    void EditDietEntry();
    void tvwDiet_OLEStartDrag(QMimeData* data, Qt::DropActions& allowedEffects);
    void tvwDiet_OLEDragOver(const QMimeData* data, Qt::DropAction& effect, int button, int shift,
                             int x, int y, int state);
    void tvwDiet_OLEDragDrop(const QMimeData* data, Qt::DropAction& effect, int button, int shift,
                             int x, int y);
    void tvwDiet_OLECompleteDrag(Qt::DropAction effect);
    void tvwFood_OLEStartDrag(QMimeData* data, Qt::DropActions& allowedEffects);
    void tvwFood_OLECompleteDrag(Qt::DropAction effect);

    // ---- Diet deletions and clipboard -----------------------------------------------------
    void DeleteSelected();
    void DeleteDietEntry(const QString& mode);
    void DeleteDietDay(const QDate& day);
    void CopyDietEntry(Recordset& rs);
    void PasteDietEntry();

    // ---- Day totals -------------------------------------------------------------------------
    void ShowDietTotals();

    // ---- Menu commands --------------------------------------------------------------------
    void mnuFileExit_Click();
    void mnuEditNewFoodGroup_Click();
    void mnuEditNewFoodItem_Click();
    void mnuEditDietDetails_Click();
    void mnuEditDietEntry_Click();
    void mnuEditFoodDetails_Click();
    void mnuEditFoodFav_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditDelete_Click();
    void mnuEditFindEntry_Click();
    void mnuEditFindNext_Click();
    void mnuEditRename_Click();
    void mnuToolsOptions_Click();
    void mnuToolsDietReport_Click();
    void mnuToolsPurgeDietData_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearchForHelpOn_Click();
    void mnuHelpAbout_Click();

    // ---- Widgets (the system's controls) ------------------------------------------------
    QGroupBox* frameFood = nullptr;
    TreeControl* tvwFood = nullptr;
    TreeControl* tvwDiet = nullptr;
    QPlainTextEdit* txtActivity = nullptr;
    QToolBar* tbToolBar = nullptr;
    QLabel* sbPanel1 = nullptr;
    QLabel* sbPanel2 = nullptr;
    QLabel* sbPanel3 = nullptr;
    QMenu* mnuPop_RTB = nullptr;

    // ---- State shared by the two trees ----------------------------------------------------
    QString strActiveTree;
    bool blnRightButton = false;
    QString strDragKey;
    QString strDragTag;
    bool FoodClipValid = false;
    bool DietClipValid = false;
    bool FoodPending = false;
    bool FoodIsNew = false;
    long FavoritesGroupId = 0;
    DietClipRecord DietClip;

    // The menu, popup and toolbar actions by system name (mnuEditCut, mnuPop_RTB_Cut, Cut...).
    QAction* action(const QString& name) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void connectTrees();
    void restorePlacement();
    void savePlacement();
    void refreshDate();
    // Enables or disables the named actions together (menu item, popup twin, button).
    void enable(std::initializer_list<const char*> names, bool on);
    // Shows the popup menu where the pointer is and waits until it closes.
    void showPopup();
    void rememberDragSource(TreeControl* tree);
    void clearDropHighlights();

    QWidget* centre = nullptr;
    QTimer* dateTimer = nullptr;
    bool unloaded = false;
};
