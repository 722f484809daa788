// The diet tree: the current user's days, each day's entries loaded when first needed, and what
// focus, clicks and keys on it do.
#include "DietLog.h"

#include "CommandBoundary.h"
#include "DietNodes.h"
#include "Module1.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"

#include <QMimeData>

DietLog::DietLog(MainParts& p) : parts(p), tvwDiet(p.tvwDiet), state(p.state) {
    connectGuarded(tvwDiet, &TreeControl::NodeClick, this, &DietLog::tvwDiet_NodeClick);
    connectGuarded(tvwDiet, &TreeControl::MouseDown, this, &DietLog::tvwDiet_MouseDown);
    connectGuarded(tvwDiet, &TreeControl::KeyDown, this, &DietLog::tvwDiet_KeyDown);
    connectGuarded(tvwDiet, &TreeControl::DblClick, this, &DietLog::tvwDiet_DblClick);
    connectGuarded(tvwDiet, &TreeControl::GotFocus, this, &DietLog::tvwDiet_GotFocus);
    connectGuarded(tvwDiet, &TreeControl::Collapse, this, &DietLog::tvwDiet_Collapse);
    connectGuarded(tvwDiet, &TreeControl::Expand, this, &DietLog::tvwDiet_Expand);
    connectGuarded(tvwDiet, &TreeControl::OLEStartDrag, this, &DietLog::tvwDiet_OLEStartDrag);
    connectGuarded(tvwDiet, &TreeControl::OLEDragOver, this, &DietLog::tvwDiet_OLEDragOver);
    connectGuarded(tvwDiet, &TreeControl::OLEDragDrop, this, &DietLog::tvwDiet_OLEDragDrop);
    connectGuarded(tvwDiet, &TreeControl::OLECompleteDrag, this, &DietLog::tvwDiet_OLECompleteDrag);
}

namespace {

// A day node not yet in the tree.
TreeNode* newDayNode(const QDate& d) {
    auto* day = new TreeNode(dayKey(d), dayText(d), QStringLiteral("DayClosed"));
    day->setTag(kDietDay);
    return day;
}

} // namespace

void DietLog::LoadDietDates() {
    gDataSource->cmdDietDates(gCurrentUser);
    Recordset& dates = *gDataSource->rscmdDietDates;
    // Years of days go into the tree in one insertion.
    std::vector<TreeNode*> days;
    days.reserve(size_t(dates.RecordCount()));
    if (!dates.eof())
        dates.MoveFirst();
    for (; !dates.eof(); dates.MoveNext())
        days.push_back(newDayNode(dates.Fields(QStringLiteral("DietDate")).toDate()));
    dates.Close();
    tvwDiet->AddNodes(QString(), days);
    tvwDiet->refresh();
}

void DietLog::ReloadDietLog(bool rebuildTree) {
    if (gDataSource->rscmdDietData)
        gDataSource->rscmdDietData->Close();
    gDataSource->cmdDietData(gCurrentUser);
    parts.dietChanged();
    if (!rebuildTree)
        return;
    tvwDiet->Clear();
    LoadDietDates();
    // Nothing is selected in the new tree: the commands that act on a selected day or entry go
    // off until a node is clicked, so none of them acts on a row nobody chose.
    parts.enable({Command::Cut, Command::Copy, Command::DietEntry, Command::DietDetails}, false);
    // With no days left the food tree takes over; while it is the active tree, Cut and Copy
    // belong to its selected food.
    const bool empty = tvwDiet->Count() == 0;
    if ((empty || state.strActiveTree == u"FOODS") && parts.foodSelection)
        parts.foodSelection->refreshFoodSelection();
    if (empty)
        parts.tvwFood->setFocus();
    else
        tvwDiet->scrollToBottom(); // the latest days are the ones a person looks for
}

void DietLog::LoadDietItems(const QDate& day) {
    gDataSource->cmdDietItems(day, gCurrentUser);
    Recordset& items = *gDataSource->rscmdDietItems;
    for (; !items.eof(); items.MoveNext())
        AddDietNode(items, kDietItem, true);
    items.Close();
}

void DietLog::AddDietNode(Recordset& rs, const QString& tag, bool loading) {
    const QDate d = rs.Fields(QStringLiteral("DietDate")).toDate();
    if (tag != kDietItem) {
        tvwDiet->AddNodes(QString(), {newDayNode(d)});
        if (!loading)
            tvwDiet->refresh();
        return;
    }
    // From here on a node that cannot be made is passed over: the tree shows the change the
    // next time the day is loaded.
    TreeNode* entry = nullptr;
    try {
        const QString key = entryKey(long(rs.Fields(QStringLiteral("DietId")).toLongLong()));
        const QString name = rs.Fields(QStringLiteral("FoodName")).toString();
        TreeNode* day = tvwDiet->Item(dayKey(d));
        bool add = true;
        if (!loading) {
            if (!day) {
                tvwDiet->AddNodes(QString(), {newDayNode(d)});
                day = tvwDiet->Item(dayKey(d));
                // New days take their place among the others (day texts sort by date).
                if (day)
                    tvwDiet->sortTopLevel();
            } else if (day->Children() == 0) {
                LoadDietItems(d); // brings the new entry along with the rest of its day
                add = false;
            }
        }
        if (add && day) {
            entry = tvwDiet->Add(day->Key(), key, name, QStringLiteral("DietItem"));
            if (entry)
                entry->setTag(kDietItem);
        } else {
            entry = tvwDiet->Item(key);
        }
    } catch (const DbError&) {
        entry = nullptr;
    }
    if (!loading) {
        tvwDiet->refresh();
        if (entry) {
            tvwDiet->sortChildren(entry->Parent());
            tvwDiet->selectNode(entry);
        }
    }
}

void DietLog::FindDietEntry(const QString& key) {
    Recordset& diet = *gDataSource->rscmdDietData;
    diet.MoveFirst();
    diet.FindFirst(Criterion::equals(QStringLiteral("DietId"), qlonglong(nodeId(key))));
}

void DietLog::tvwDiet_GotFocus() {
    state.strActiveTree = QStringLiteral("DIET");
    if (parts.foodSelection)
        parts.foodSelection->savePendingFood();
    parts.enable({Command::FoodDetails, Command::AddToDiet, Command::Rename, Command::EditNew,
                  Command::NewFoodItem, Command::NewFoodGroup, Command::FoodFav},
                 false);
    parts.enable({Command::Delete, Command::DietDetails}, true);
    parts.enable({Command::Paste}, state.DietClipValid);
    parts.showServingSize(nullptr);
}

void DietLog::tvwDiet_NodeClick(TreeNode*) {
    locateSelectedEntry();
    if (state.blnRightButton && !tvwDiet->startingDrag()) {
        parts.showPopup(tvwDiet);
        // The command chosen may have removed the node or selected another.
        locateSelectedEntry();
    }
    const TreeNode* selected = tvwDiet->selectedNode();
    if (!selected)
        return;
    const bool entry = selected->Tag() == kDietItem;
    // Off after the tree was filled afresh with nothing selected; any day or entry has totals.
    parts.enable({Command::DietDetails}, true);
    parts.enable({Command::Cut, Command::DietEntry}, entry);
    // A day is copied whole; Cut stays an entry's (a day is deleted by its own command).
    parts.enable({Command::Copy}, entry || dayHasEntries(selected));
    tvwDiet->setAutoDrag(entry);
}

void DietLog::locateSelectedEntry() {
    const TreeNode* selected = tvwDiet->selectedNode();
    if (!selected || selected->Tag() != kDietItem)
        return;
    try {
        FindDietEntry(selected->Key());
    } catch (const DbError&) {
        // The entry commands report a missing current entry themselves.
    }
}

void DietLog::tvwDiet_MouseDown(int button, int, int x, int y) {
    // As on the food tree: only a right press on a node leaves the popup or a right drag to come.
    if (button == TreeButton::Right)
        state.blnRightButton = tvwDiet->pressesNode(x, y);
}

void DietLog::tvwDiet_KeyDown(int keyCode, int) {
    if (keyCode == TreeKey::Escape) {
        CollapseDietDay();
    } else if (keyCode == TreeKey::Enter) {
        const TreeNode* selected = tvwDiet->selectedNode();
        if (selected && selected->Tag() == kDietDay)
            tvwDiet_DblClick();
    }
}

void DietLog::tvwDiet_DblClick() {
    TreeNode* selected = tvwDiet->selectedNode();
    if (tvwDiet->Count() == 0 || !selected)
        return;
    if (selected->Tag() == kDietItem) {
        EditDietEntry();
    } else if (selected->Tag() == kDietDay && selected->Children() == 0) {
        LoadDietItems(dateOf(selected));
        selected->setExpanded(true);
    }
}

void DietLog::tvwDiet_Expand(TreeNode* node) {
    node->setImage(QStringLiteral("DayOpen"));
}
void DietLog::tvwDiet_Collapse(TreeNode* node) {
    node->setImage(QStringLiteral("DayClosed"));
}

void DietLog::CollapseDietDay() {
    const TreeNode* selected = tvwDiet->selectedNode();
    if (selected && selected->Tag() == kDietItem && selected->Parent())
        selected->Parent()->setExpanded(false);
}

// ---- Find ---------------------------------------------------------------------------------

Recordset* DietLog::findRows() {
    return gDataSource->rscmdDietData.get();
}

TreeControl* DietLog::findTree() {
    return tvwDiet;
}

void DietLog::showFoundRow() {
    const Recordset& diet = *gDataSource->rscmdDietData;
    const QDate d = diet.Fields(QStringLiteral("DietDate")).toDate();
    const long dietId = long(diet.Fields(QStringLiteral("DietId")).toLongLong());
    const TreeNode* day = tvwDiet->Item(dayKey(d));
    if (day && day->Children() == 0)
        LoadDietItems(d);
    TreeNode* node = tvwDiet->Item(entryKey(dietId));
    if (!node)
        return;
    tvwDiet->selectNode(node);
    tvwDiet->EnsureVisible(node);
    tvwDiet_NodeClick(node);
    tvwDiet->setFocus();
}

void DietLog::restoreFoundRow() {
    const TreeNode* selected = tvwDiet->selectedNode();
    if (selected && selected->Tag() == kDietItem)
        FindDietEntry(selected->Key());
}
