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
    const auto whole = [&](const char* c) {
        return long(rs.Fields(QString::fromLatin1(c)).toLongLong());
    };
    FoodClipRecord clip;
    clip.FoodId = whole("FoodId");
    clip.GroupId = whole("GroupId");
    clip.FoodName = rs.Fields(QStringLiteral("FoodName")).toString();
    clip.ServingSize = rs.Fields(QStringLiteral("ServingSize")).toString();
    clip.values = Nutrients::read(rs);
    clip.USDA_NDB_NO = whole("USDA_NDB_NO");
    clip.USDA_MSRE_NO = whole("USDA_MSRE_NO");
    clip.USDA_GM_WT = rs.Fields(QStringLiteral("USDA_GM_WT")).toDouble();
    state.FoodClip = clip;
    parts.enable({Command::Paste}, true);
    state.FoodClipValid = keepValid;
}

void FoodCatalog::PasteFood(long target) {
    // A pending food that still cannot be written is not replaced by another.
    SavePendingFood();
    if (gDataSource->closed() || state.FoodPending)
        return;
    TreeNode* selected = tvwFood->selectedNode();
    long group = 0;
    if (target != -1) {
        group = target;
    } else if (selected && selected->Tag() == kFoodItem && selected->Parent()) {
        group = nodeId(selected->Parent()->Key());
    } else if (selected && (selected->Tag() == kGroup || selected->Tag() == kFavorite)) {
        group = nodeId(selected->Key());
        if (!showGroupFoods(selected))
            return;
    }
    // Always a new food: a new id, the target group, the copied values.
    if (!startNewFood(state.FoodClip, group))
        return;
    state.FoodIsNew = true;
    state.FoodPending = true;
    SaveFoodChanges(FoodRow::New, true);
}

bool FoodCatalog::showGroupFoods(TreeNode* group) {
    if (group->Children() == 0)
        LoadGroupFoods(nodeId(group->Key()));
    return !gDataSource->closed();
}

bool FoodCatalog::startNewFood(const FoodClipRecord& values, long group) {
    const long id = gDataSource->getTableKey(QStringLiteral("FOODITEM"));
    if (id == 0)
        return false; // reported; the window is closing
    pendingFood = values;
    pendingFood.FoodId = id;
    pendingFood.GroupId = group;
    return true;
}

void FoodCatalog::addPendingFood() {
    Recordset& foods = *gDataSource->rscmdFoods;
    const FoodClipRecord& f = pendingFood;
    foods.AddNew();
    foods.setField(QStringLiteral("FoodId"), qlonglong(f.FoodId));
    foods.setField(QStringLiteral("GroupId"), qlonglong(f.GroupId));
    foods.setField(QStringLiteral("FoodName"), f.FoodName);
    foods.setField(QStringLiteral("ServingSize"), f.ServingSize);
    f.values.write(foods);
    foods.setField(QStringLiteral("USDA_NDB_NO"), qlonglong(f.USDA_NDB_NO));
    foods.setField(QStringLiteral("USDA_MSRE_NO"), qlonglong(f.USDA_MSRE_NO));
    foods.setField(QStringLiteral("USDA_GM_WT"), f.USDA_GM_WT);
}

void FoodCatalog::CopyFoodToFavorites() {
    const TreeNode* selected = tvwFood->selectedNode();
    if (!selected || selected->Tag() != kFoodItem)
        return;
    try {
        CopyFoodToClip(*gDataSource->rscmdFoods, true);
    } catch (const DbError&) {
        ShowAppError(QStringLiteral("Unable to update Food Data.  "));
        return;
    }
    PasteFood(state.FavoritesGroupId);
    // The copy leaves nothing to paste.
    state.FoodClipValid = false;
}

void FoodCatalog::SavePendingFood() {
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
        long group = 0, id = 0;
        QString name;
        try {
            // A new food from the editor is being added already; a paste adds its own.
            if (foods.editMode() != Recordset::EditMode::AddNew)
                addPendingFood();
            group = long(foods.Fields(QStringLiteral("GroupId")).toLongLong());
            id = long(foods.Fields(QStringLiteral("FoodId")).toLongLong());
            name = foods.Fields(QStringLiteral("FoodName")).toString();
            foods.Update();
            foods.setBookmark(foods.LastModified());
        } catch (const DbError&) {
            if (foods.isOpen() && foods.editMode() != Recordset::EditMode::None)
                foods.CancelUpdate();
            // A paste stays pending, offered again at the next turn to either tree, paste or
            // close; a new food from the editor is given up.
            if (!state.FoodPending)
                state.FoodIsNew = false;
            ShowAppError(QStringLiteral("Unable to update Food Data.  "));
            return;
        }
        state.FoodIsNew = false;
        state.FoodPending = false;
        AddFoodNode(group, id, name, false);
        if (TreeNode* added = tvwFood->selectedNode())
            tvwFood_NodeClick(added);
        return;
    }
    // A changed existing food, in edit on the current row. A paste left pending stays pending:
    // it is another food.
    if (!noPrompt && MsgBox(QStringLiteral("Food Data changed.  Do you want to save it?"), vbYesNo,
                            QStringLiteral("Forkwise")) != vbYes) {
        if (foods.editMode() != Recordset::EditMode::None)
            foods.CancelUpdate();
        state.FoodPending = false;
        return;
    }
    TreeNode* selected = tvwFood->selectedNode();
    try {
        const QString name = foods.Fields(QStringLiteral("FoodName")).toString();
        foods.Update();
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
        if (foods.isOpen() && foods.editMode() != Recordset::EditMode::None)
            foods.CancelUpdate();
        ShowAppError(QStringLiteral("Unable to update Food Data.  "));
    }
}
