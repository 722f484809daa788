#pragma once
// The food catalogue: the food tree of groups and foods, and what clicks, keys and drags on it
// do. A food's double click logs it in the diet log.
#include "MainParts.h"

#include <QObject>

class QMimeData;
class Recordset;
class TreeNode;

class FoodCatalog : public QObject, public TreeCommands, public FoodSelection, public FindTarget {
    Q_OBJECT
public:
    explicit FoodCatalog(MainParts& parts);

    // Fills the tree with the groups and the favourites' foods, and selects the favourites.
    void LoadFoodTree();
    void StartRename();
    // A new group under the top-level node of the selection, named by the user at once.
    void NewFoodGroup();
    void refreshFoodSelection() override;
    // Asks whether to save a food a failed save left pending, and saves it on Yes.
    void savePendingFood() override;
    void CopyFoodToFavorites();
    // A new food in the selection's group, or the selected food, in "Food Item Details".
    void NewFoodItem();
    void ShowFoodDetails();
    // Logs one serving of the selected food today, as a double click on it does.
    void addToDietLog();

    void Cut() override;
    void Copy() override;
    void Paste() override;
    void Delete() override;

    Recordset* findRows() override;
    TreeControl* findTree() override;
    void showFoundRow() override;
    void restoreFoundRow() override;

private:
    void LoadGroupFoods(long groupId);
    void AddFoodNode(long groupId, long foodId, const QString& foodName, bool loading);
    void LocateFood(const QString& key, const QString& tag);
    void LocateGroup(const QString& key);

    // ---- Groups (FoodGroups.cpp)
    void tvwFood_AfterLabelEdit(bool& cancel, QString& newText);
    void DeleteFoodGroup(const QString& key);
    void DeleteFood(const QString& mode);
    // Selects the node above `node` (its parent when it is the first) and removes `node`.
    void selectInsteadAndRemove(TreeNode* node);

    // ---- The food clipboard and saving foods (FoodClipboard.cpp)
    void CopyFoodToClip(const Recordset& rs, bool keepValid);
    // Pastes the clipboard as a new food into group `target`, or the selection's group for -1.
    void PasteFood(long target);
    // Which food SaveFoodChanges writes: the new one being added, or the current row edited.
    enum class FoodRow { New, Existing };
    // Writes the food being added or the current row being edited, as `row` says; asks first
    // unless `noPrompt`.
    void SaveFoodChanges(FoodRow row, bool noPrompt);
    // The new food a paste is writing; kept while its save is pending.
    FoodClipRecord pendingFood;
    // Takes a new key for a food of `values` in `group` into pendingFood.
    void startNewFood(const FoodClipRecord& values, long group);
    // Shows a never opened group's foods first.
    void showGroupFoods(TreeNode* group);

    // ---- New foods and the food editor (FoodItems.cpp)

    void tvwFood_NodeClick(TreeNode* node);
    // What a click on `node` sets before the popup it may open: the current food, and the
    // commands that depend on the selection and the clipboard.
    void enableForSelection(const TreeNode* node);
    // What it sets after the popup: the commands that depend on the kind of node.
    void enableForNode(const TreeNode* node);
    void tvwFood_MouseDown(int button, int shift, int x, int y);
    void tvwFood_KeyDown(int keyCode, int shift);
    void tvwFood_DblClick();
    // One serving of the current food, eaten today, in the diet log.
    void logCurrentFood();
    void tvwFood_GotFocus();
    void tvwFood_Collapse(TreeNode* node);
    void tvwFood_Expand(TreeNode* node);

    // ---- Dragging foods between groups (FoodDrag.cpp)
    void tvwFood_OLEStartDrag(QMimeData* data, Qt::DropActions& allowedEffects);
    void tvwFood_OLEDragOver(const QMimeData* data, Qt::DropAction& effect, int button, int shift,
                             int x, int y, int state);
    void tvwFood_OLEDragDrop(const QMimeData* data, Qt::DropAction& effect, int button, int shift,
                             int x, int y);
    void tvwFood_OLECompleteDrag(Qt::DropAction effect);
    // The group or favourites node under (x, y) a dragged food may be dropped on, or nullptr.
    TreeNode* foodDropTarget(int x, int y) const;

    void CollapseToParent();
    void JumpToLetter(int keyCode);

    MainParts& parts;
    TreeControl* tvwFood;
    TreeState& state;
};
