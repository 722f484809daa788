// A new food and the details of an existing one, both in "Food Item Details".
#include "FoodCatalog.h"

#include "FoodNodes.h"
#include "Module1.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "frmFoodData.h"

namespace {
// The measures and groups the editor lists, read for one showing and closed after it.
class EditorLists {
public:
    explicit EditorLists(long ndb) {
        gDataSource->cmdMeasures(ndb);
        gDataSource->cmdAvailGroups();
    }
    ~EditorLists() {
        for (auto* rs : {gDataSource->rscmdMeasures.get(), gDataSource->rscmdAvailGroups.get()})
            if (rs)
                rs->Close();
    }
    EditorLists(const EditorLists&) = delete;
    EditorLists& operator=(const EditorLists&) = delete;
};
} // namespace

void FoodCatalog::NewFoodItem() {
    savePendingFood();
    TreeNode* selected = tvwFood->selectedNode();
    if (!selected || state.FoodPending)
        return; // a pending food that still cannot be written is not replaced
    const bool root = selected->Tag() == kGroupRoot;
    long group = 0;
    if (selected->Tag() == kFoodItem) {
        try {
            LocateFood(selected->Key(), selected->Tag());
            group = long(gDataSource->rscmdFoods->Fields(QStringLiteral("GroupId")).toLongLong());
        } catch (const DbError&) {
            showAppError(kFoodUpdatePhrase);
            return;
        }
    } else {
        group = nodeId(selected->Key());
        showGroupFoods(selected);
    }
    FoodClipRecord blank;
    blank.FoodName = QStringLiteral("New Food Item");
    for (int i = 0; i < Nutrients::Count; ++i)
        blank.values.set(i, 0.0);
    startNewFood(blank, group);

    const EditorLists lists(0);
    frmFoodData dlg(parts.window);
    dlg.prepareNew(pendingFood, root);
    state.FoodIsNew = true;
    if (dlg.run() != u"SAVE") {
        state.FoodIsNew = false;
        return;
    }
    pendingFood = dlg.editedFood();
    // The group may have been changed in the editor: its foods are shown first.
    if (TreeNode* groupNode = tvwFood->Item(groupKey(pendingFood.GroupId)))
        showGroupFoods(groupNode);
    SaveFoodChanges(FoodRow::New, true);
}

void FoodCatalog::ShowFoodDetails() {
    const TreeNode* selected = tvwFood->selectedNode();
    if (!selected || selected->Tag() != kFoodItem)
        return;
    Recordset& foods = *gDataSource->rscmdFoods;
    FoodClipRecord food;
    try {
        LocateFood(selected->Key(), selected->Tag());
        food = FoodClipRecord::read(foods);
    } catch (const DbError&) {
        showAppError(kFoodUpdatePhrase);
        return;
    }
    const EditorLists lists(food.USDA_NDB_NO);
    frmFoodData dlg(parts.window);
    dlg.prepareExisting(food);
    if (dlg.run() != u"SAVE")
        return;
    // The row is looked up again: the dialog ran an event loop of its own.
    EditScope edit(foods); // SaveFoodChanges writes the row, or cancels it itself
    bool copied = false;
    try {
        LocateFood(foodKey(food.FoodId), kFoodItem);
        if (foods.hasCurrentRow()) {
            foods.Edit();
            dlg.editedFood().write(foods);
            copied = true;
        }
    } catch (const DbError&) {
        // told below, as a food that is gone
    }
    if (!copied) {
        showAppError(kFoodFieldsPhrase);
        return;
    }
    SaveFoodChanges(FoodRow::Existing, true);
}
