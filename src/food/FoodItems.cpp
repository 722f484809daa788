// A new food and the details of an existing one, both in "Food Item Details".
#include "FoodCatalog.h"

#include "FoodNodes.h"
#include "Module1.h"
#include "Serving.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "frmFoodData.h"

#include <QComboBox>
#include <QLineEdit>

namespace {
// The measures and groups the editor lists are read for one showing and closed after it.
bool openEditorLists(long ndb) {
    gDataSource->cmdMeasures(ndb);
    if (!gDataSource->closed())
        gDataSource->cmdAvailGroups();
    return !gDataSource->closed();
}
void closeEditorLists() {
    if (gDataSource->closed())
        return;
    for (auto* rs : {gDataSource->rscmdMeasures.get(), gDataSource->rscmdAvailGroups.get()})
        if (rs)
            rs->Close();
}
} // namespace

void FoodCatalog::NewFoodItem() {
    SavePendingFood();
    TreeNode* selected = tvwFood->selectedNode();
    if (!selected || gDataSource->closed() || state.FoodPending)
        return; // a pending food that still cannot be written is not replaced
    Recordset& foods = *gDataSource->rscmdFoods;
    const bool root = selected->Tag() == kGroupRoot;
    long group = 0;
    try {
        if (selected->Tag() == kFoodItem) {
            LocateFood(selected->Key(), selected->Tag());
            group = long(foods.Fields(QStringLiteral("GroupId")).toLongLong());
        } else {
            group = nodeId(selected->Key());
            if (!showGroupFoods(selected))
                return;
        }
        FoodClipRecord blank;
        blank.FoodName = QStringLiteral("New Food Item");
        for (int i = 0; i < Nutrients::Count; ++i)
            blank.values.set(i, 0.0);
        if (!startNewFood(blank, group))
            return;
        addPendingFood();
    } catch (const DbError&) {
        ShowAppError(QStringLiteral("Unable to update Food Data.  "));
        return;
    }
    if (!openEditorLists(0))
        return;
    frmFoodData dlg(parts.window);
    dlg.Form_Load();
    dlg.txtNewFood->setText(QStringLiteral("YES"));
    if (!root)
        dlg.cmbGroups->setCurrentIndex(int(GroupListIndex(group)));
    dlg.cmbServSize->setEditText(QString());
    state.FoodIsNew = true;
    if (dlg.run() == u"SAVE") {
        // The group may have been changed in the editor: its foods are shown first.
        const long chosen = long(foods.Fields(QStringLiteral("GroupId")).toLongLong());
        TreeNode* groupNode = tvwFood->Item(groupKey(chosen));
        if (groupNode && !showGroupFoods(groupNode))
            return;
        SaveFoodChanges(FoodRow::New, true);
    } else {
        if (foods.editMode() != Recordset::EditMode::None)
            foods.CancelUpdate();
        state.FoodIsNew = false;
    }
    closeEditorLists();
}

void FoodCatalog::ShowFoodDetails() {
    TreeNode* selected = tvwFood->selectedNode();
    if (!selected || selected->Tag() != kFoodItem)
        return;
    Recordset& foods = *gDataSource->rscmdFoods;
    try {
        LocateFood(selected->Key(), selected->Tag());
        if (!openEditorLists(long(foods.Fields(QStringLiteral("USDA_NDB_NO")).toLongLong())))
            return;
        frmFoodData dlg(parts.window);
        dlg.Form_Load();
        dlg.txtNewFood->setText(QStringLiteral("NO"));
        if (gDataSource->rscmdMeasures->RecordCount() > 0)
            dlg.chooseMeasure(int(
                FindMeasureIndex(long(foods.Fields(QStringLiteral("USDA_MSRE_NO")).toLongLong()))));
        else
            dlg.cmbServSize->setEditText(foods.Fields(QStringLiteral("ServingSize")).toString());
        dlg.cmbGroups->setCurrentIndex(
            int(GroupListIndex(long(foods.Fields(QStringLiteral("GroupId")).toLongLong()))));
        // An original USDA food keeps its standard values; Other 1 and 2 stay the user's.
        if (foods.Fields(QStringLiteral("USDA_NDB_NO")).toLongLong() ==
            foods.Fields(QStringLiteral("FoodId")).toLongLong())
            for (QLineEdit* box : {dlg.txtCalories, dlg.txtCarbs, dlg.txtCholesterol, dlg.txtFat,
                                   dlg.txtProtein, dlg.txtSodium})
                box->setEnabled(false);
        // Foods move between groups by dragging, not here.
        dlg.cmbGroups->setEnabled(false);
        if (dlg.run() == u"SAVE")
            SaveFoodChanges(FoodRow::Existing, true);
    } catch (const DbError&) {
        ShowAppError(QStringLiteral("Unable to update Food Data.  "));
    }
    closeEditorLists();
}
