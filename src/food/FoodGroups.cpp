// The user's own groups: a new group where the selection says, renaming a group in place, and
// deleting a group with all of its foods; deleting a single food.
#include "FoodCatalog.h"

#include "FoodNodes.h"
#include "Module1.h"
#include "Seams.h"
#include "Snapshot.h"
#include "TextLimit.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"

namespace {
// Groups live one level below the top: a new group goes under the top-level node the
// selection belongs to, or under the favourites when a favourite food is selected.
TreeNode* newGroupParent(TreeNode* selected) {
    TreeNode* parent = selected->Parent();
    if (selected->Tag() == kFoodItem)
        return parent && parent->Tag() == kGroup ? parent->Parent() : parent;
    if (selected->Tag() == kGroup)
        return parent;
    return selected;
}
} // namespace

void FoodCatalog::LocateGroup(const QString& key) {
    Recordset& groups = *gDataSource->rscmdGroups;
    groups.MoveFirst();
    groups.FindFirst(Criterion::equals(QStringLiteral("GroupId"), qlonglong(nodeId(key))));
}

void FoodCatalog::NewFoodGroup() {
    TreeNode* selected = tvwFood->selectedNode();
    TreeNode* parent = selected ? newGroupParent(selected) : nullptr;
    if (!parent)
        return;
    Recordset& groups = *gDataSource->rscmdGroups;
    const long id = gDataSource->getTableKey(QStringLiteral("FOODGROUP"));
    const QString name = QStringLiteral("New Food Group");
    try {
        EditScope add(groups);
        groups.AddNew();
        groups.setField(QStringLiteral("GroupId"), qlonglong(id));
        groups.setField(QStringLiteral("GroupName"), name);
        groups.setField(QStringLiteral("ParentGroup"), qlonglong(nodeId(parent->Key())));
        groups.setField(QStringLiteral("GroupTag"), kGroup);
        add.commit();
    } catch (const DbError&) {
        showAppError(kGroupUpdatePhrase);
        return;
    }
    // Shown once written: the tree never shows a group the catalogue does not have.
    TreeNode* node = tvwFood->Add(parent->Key(), groupKey(id), name, QStringLiteral("GroupClosed"));
    if (!node)
        return; // a key already in the tree: the catalogue shows the group at the next start
    node->setTag(kGroup);
    tvwFood->selectNode(node);
    tvwFood_NodeClick(node);
    tvwFood->setFocus();
    tvwFood->startLabelEdit(); // the user names the group at once
}

void FoodCatalog::tvwFood_AfterLabelEdit(bool& cancel, QString& newText) {
    TreeNode* node = tvwFood->selectedNode();
    const QString tag = node ? node->Tag() : QString();
    // A nameless group or food could not be found or told apart: a blank name is not written,
    // and the node shows its stored name again.
    if (!node || newText.trimmed().isEmpty()) {
        cancel = true;
        return;
    }
    if (tag == kFoodItem) {
        Recordset& foods = *gDataSource->rscmdFoods;
        EditScope edit(foods); // SaveFoodChanges writes the row, or cancels it itself
        try {
            LocateFood(node->Key(), tag);
            foods.Edit();
            foods.setField(QStringLiteral("FoodName"), cutText(newText, 200));
        } catch (const DbError&) {
            showAppError(kFoodUpdatePhrase);
            cancel = true;
            return;
        }
        SaveFoodChanges(FoodRow::Existing, true);
        newText = node->Text(); // the stored name, or the old one when the save failed
        return;
    }
    if (tag != kGroup && tag != kFavorite && tag != kGroupRoot) {
        cancel = true;
        return;
    }
    Recordset& groups = *gDataSource->rscmdGroups;
    try {
        EditScope edit(groups);
        LocateGroup(node->Key());
        groups.Edit();
        groups.setField(QStringLiteral("GroupName"), cutText(newText, 60));
        edit.commit();
        newText = groups.Fields(QStringLiteral("GroupName")).toString();
    } catch (const DbError&) {
        showAppError(kFoodUpdatePhrase);
        cancel = true; // the node shows the stored name, not the one that was not written
        return;
    }
    // The stored name is shown, shortened if need be, and takes its place among the others.
    node->setText(newText);
    tvwFood->sortChildren(node);
    tvwFood->sortTopLevel();
}

void FoodCatalog::DeleteFoodGroup(const QString& key) {
    const TreeNode* selected = tvwFood->selectedNode();
    if (!selected || selected->Key() != key)
        return;
    if (MsgBox(QStringLiteral("Are you sure you want to Delete the '") + selected->Text() +
                   QStringLiteral("' Food Group and all of its associated Food Items?"),
               vbYesNo, QStringLiteral("Forkwise")) != vbYes)
        return;
    {
        Hourglass busy;
        // A checked copy of the log first; without one nothing is deleted.
        if (!snapshotOrExplain(gDataSource->appDB, SnapshotMoment::BeforeDeletion))
            return;
        Workspace& connDB = gDataSource->connDB;
        try {
            LocateGroup(key);
            connDB.BeginTrans();
            gDataSource->cmdDeleteFoods(nodeId(key));
            gDataSource->rscmdGroups->Delete();
            connDB.CommitTrans();
        } catch (const DbError&) {
            connDB.Rollback();
            // The group's row left the result set before the commit failed: it is read again,
            // so the group the rollback kept can be found, renamed and deleted.
            gDataSource->rscmdGroups->Close();
            gDataSource->cmdGroups();
            showAppError(kGroupDeletePhrase);
            return;
        } catch (const CommandFailed&) {
            connDB.Rollback(); // the run ends; nothing of the deletion is kept
            throw;
        }
    }
    gDataSource->rscmdFoods->Close();
    gDataSource->cmdFoods();
    // Looked up again: the questions and messages above ran event loops of their own.
    if (TreeNode* node = tvwFood->Item(key))
        selectInsteadAndRemove(node);
}

void FoodCatalog::Delete() {
    const TreeNode* selected = tvwFood->selectedNode();
    if (!selected)
        return;
    if (selected->Tag() == kFoodItem)
        DeleteFood(QStringLiteral("DELETE"));
    else if (selected->Tag() == kGroup)
        DeleteFoodGroup(selected->Key());
}

void FoodCatalog::DeleteFood(const QString& mode) {
    const TreeNode* selected = tvwFood->selectedNode();
    if (!selected || selected->Tag() != kFoodItem)
        return;
    const QString key = selected->Key();
    const QString verb = mode == u"CUT" ? QStringLiteral("Cut") : QStringLiteral("Delete");
    if (MsgBox(QStringLiteral("Are you sure you want to ") + verb + QStringLiteral(" Food Item: ") +
                   selected->Text(),
               vbYesNo, QStringLiteral("Forkwise")) != vbYes)
        return;
    // Looked up again after the question, which ran an event loop of its own.
    TreeNode* node = tvwFood->Item(key);
    if (!node)
        return;
    try {
        Recordset& foods = *gDataSource->rscmdFoods;
        LocateFood(key, kFoodItem);
        if (mode == u"CUT")
            CopyFoodToClip(foods, true);
        foods.Delete();
        foods.MoveFirst();
    } catch (const DbError&) {
        showAppError(kFoodDeletePhrase);
        return;
    }
    // Diet entries made from the food keep their own copies of it.
    selectInsteadAndRemove(node);
}

void FoodCatalog::selectInsteadAndRemove(TreeNode* node) {
    TreeNode* next = node->Previous() ? node->Previous() : node->Parent();
    tvwFood->selectNode(next);
    tvwFood->Remove(node);
    if (next)
        tvwFood_NodeClick(next);
    tvwFood->setFocus();
}
