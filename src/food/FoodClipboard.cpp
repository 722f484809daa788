// The food clipboard: copying a food, pasting it as a new food into a group, copying it to the
// favourites, and writing a new or changed food with the questions a pending save asks.
#include "FoodCatalog.h"

#include "FoodNodes.h"
#include "Module1.h"
#include "Seams.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"

void FoodCatalog::Cut() {
    DeleteFood(QStringLiteral("CUT"));
}

void FoodCatalog::Copy() {
    try {
        CopyFoodToClip(*gDataSource->rscmdFoods, true);
    } catch (const DbError&) {
        // Nothing current to copy: the clipboard keeps what it had.
    }
}

void FoodCatalog::Paste() {
    PasteFood(-1);
}

void FoodCatalog::CopyFoodToClip(const Recordset& rs, bool keepValid) {
    state.FoodClip = FoodClipRecord::read(rs);
    parts.enable({Command::Paste}, true);
    state.FoodClipValid = keepValid;
}

void FoodCatalog::PasteFood(long target) {
    // A pending food that still cannot be written is not replaced by another.
    savePendingFood();
    if (state.FoodPending)
        return;
    TreeNode* selected = tvwFood->selectedNode();
    long group = 0;
    if (target != -1) {
        group = target;
    } else if (selected && selected->Tag() == kFoodItem && selected->Parent()) {
        group = nodeId(selected->Parent()->Key());
    } else if (selected && (selected->Tag() == kGroup || selected->Tag() == kFavorite)) {
        group = nodeId(selected->Key());
        showGroupFoods(selected);
    }
    // Always a new food: a new id, the target group, the copied values.
    startNewFood(state.FoodClip, group);
    state.FoodIsNew = true;
    state.FoodPending = true;
    SaveFoodChanges(FoodRow::New, true);
}

void FoodCatalog::showGroupFoods(TreeNode* group) {
    if (group->Children() == 0)
        LoadGroupFoods(nodeId(group->Key()));
}

void FoodCatalog::startNewFood(const FoodClipRecord& values, long group) {
    const long id = gDataSource->getTableKey(QStringLiteral("FOODITEM"));
    pendingFood = values;
    pendingFood.FoodId = id;
    pendingFood.GroupId = group;
}

void FoodCatalog::CopyFoodToFavorites() {
    const TreeNode* selected = tvwFood->selectedNode();
    if (!selected || selected->Tag() != kFoodItem)
        return;
    try {
        CopyFoodToClip(*gDataSource->rscmdFoods, true);
    } catch (const DbError&) {
        showAppError(kFoodUpdatePhrase);
        return;
    }
    PasteFood(state.FavoritesGroupId);
    // The copy leaves nothing to paste.
    state.FoodClipValid = false;
}

void FoodCatalog::savePendingFood() {
    // Only a paste leaves a food pending, and that food is a new one.
    if (state.FoodPending)
        SaveFoodChanges(state.FoodIsNew ? FoodRow::New : FoodRow::Existing, false);
}

void FoodCatalog::SaveFoodChanges(FoodRow row, bool noPrompt) {
    Recordset& foods = *gDataSource->rscmdFoods;
    if (row == FoodRow::New) {
        if (!noPrompt && MsgBox(QStringLiteral("Do you want to save this new Food Item?"), vbYesNo,
                                QStringLiteral("Forkwise")) != vbYes) {
            state.FoodIsNew = false;
            state.FoodPending = false;
            return;
        }
        try {
            EditScope add(foods);
            foods.AddNew();
            pendingFood.write(foods);
            add.commit();
            foods.setBookmark(foods.LastModified());
        } catch (const DbError&) {
            // A paste stays pending, offered again at the next turn to either tree, paste or
            // close; a new food from the editor is given up.
            if (!state.FoodPending)
                state.FoodIsNew = false;
            showAppError(kFoodUpdatePhrase);
            return;
        }
        state.FoodIsNew = false;
        state.FoodPending = false;
        AddFoodNode(pendingFood.GroupId, pendingFood.FoodId, pendingFood.FoodName, false);
        if (TreeNode* added = tvwFood->selectedNode())
            tvwFood_NodeClick(added);
        return;
    }
    // A changed existing food, in edit on the current row: written below, or cancelled. A paste
    // left pending stays pending: it is another food.
    EditScope edit(foods);
    if (!noPrompt && MsgBox(QStringLiteral("Food Data changed.  Do you want to save it?"), vbYesNo,
                            QStringLiteral("Forkwise")) != vbYes) {
        state.FoodPending = false;
        return;
    }
    TreeNode* selected = tvwFood->selectedNode();
    try {
        const QString name = foods.Fields(QStringLiteral("FoodName")).toString();
        edit.commit();
        foods.setBookmark(foods.LastModified());
        // Shown only once written: a failed save leaves the tree as the catalogue is.
        if (selected) {
            selected->setText(name);
            tvwFood->sortChildren(selected);
            tvwFood->sortChildren(selected->Parent());
            tvwFood->sortTopLevel();
        }
    } catch (const DbError&) {
        // A failed save of a rename or of the editor leaves nothing pending.
        showAppError(kFoodUpdatePhrase);
    }
}
