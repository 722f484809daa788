// The food tree: filling it from the groups and foods, lazy loading of a group's foods, and what
// selecting, clicking, keys, double clicks and drags on it do.
#include "FoodCatalog.h"

#include "CommandBoundary.h"
#include "FoodNodes.h"
#include "Module1.h"
#include "Seams.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"

#include <QMimeData>

FoodCatalog::FoodCatalog(MainParts& p) : parts(p), tvwFood(p.tvwFood), state(p.state) {
    // Typed letters move through a group's foods by JumpToLetter, not by the tree's own search.
    tvwFood->setIncrementalSearch(false);
    // Every notification of the tree is a place where a failed data command ends.
    connectGuarded(tvwFood, &TreeControl::NodeClick, this, &FoodCatalog::tvwFood_NodeClick);
    connectGuarded(tvwFood, &TreeControl::MouseDown, this, &FoodCatalog::tvwFood_MouseDown);
    connectGuarded(tvwFood, &TreeControl::KeyDown, this, &FoodCatalog::tvwFood_KeyDown);
    connectGuarded(tvwFood, &TreeControl::DblClick, this, &FoodCatalog::tvwFood_DblClick);
    connectGuarded(tvwFood, &TreeControl::GotFocus, this, &FoodCatalog::tvwFood_GotFocus);
    connectGuarded(tvwFood, &TreeControl::Collapse, this, &FoodCatalog::tvwFood_Collapse);
    connectGuarded(tvwFood, &TreeControl::Expand, this, &FoodCatalog::tvwFood_Expand);
    connectGuarded(tvwFood, &TreeControl::OLEStartDrag, this, &FoodCatalog::tvwFood_OLEStartDrag);
    connectGuarded(tvwFood, &TreeControl::OLECompleteDrag, this,
                   &FoodCatalog::tvwFood_OLECompleteDrag);
    connectGuarded(tvwFood, &TreeControl::OLEDragOver, this, &FoodCatalog::tvwFood_OLEDragOver);
    connectGuarded(tvwFood, &TreeControl::OLEDragDrop, this, &FoodCatalog::tvwFood_OLEDragDrop);
    connectGuarded(tvwFood, &TreeControl::AfterLabelEdit, this,
                   &FoodCatalog::tvwFood_AfterLabelEdit);
}

void FoodCatalog::LoadFoodTree() {
    Recordset& groups = *gDataSource->rscmdGroups;
    tvwFood->setUpdatesEnabled(false);
    if (!groups.eof())
        groups.MoveFirst();
    TreeNode* favorites = nullptr;
    for (; !groups.eof(); groups.MoveNext()) {
        const long id = long(groups.Fields(QStringLiteral("GroupId")).toLongLong());
        const QString name = groups.Fields(QStringLiteral("GroupName")).toString();
        const long parent = long(groups.Fields(QStringLiteral("ParentGroup")).toLongLong());
        if (parent == 0) {
            TreeNode* node = tvwFood->Add(QString(), groupKey(id), name, QStringLiteral("closed"));
            if (!node)
                continue;
            const QString tag = groups.Fields(QStringLiteral("GroupTag")).toString();
            node->setTag(tag);
            if (tag == kFavorite) {
                state.FavoritesGroupId = id;
                LoadGroupFoods(id);
                favorites = node;
            }
        } else if (TreeNode* node = tvwFood->Add(groupKey(parent), groupKey(id), name,
                                                 QStringLiteral("GroupClosed"))) {
            // A group whose parent is not (yet) in the tree is not shown.
            node->setTag(kGroup);
        }
    }
    tvwFood->sortTopLevel();
    if (favorites) {
        // The favourites are what a person logs most: shown open from the start.
        tvwFood->selectNode(favorites);
        favorites->setExpanded(true);
    }
    tvwFood->setUpdatesEnabled(true);
    if (TreeNode* selected = tvwFood->selectedNode())
        tvwFood_NodeClick(selected);
}

void FoodCatalog::LoadGroupFoods(long groupId) {
    gDataSource->cmdFoodItems(groupId);
    Recordset& foods = *gDataSource->rscmdFoodItems;
    for (; !foods.eof(); foods.MoveNext())
        AddFoodNode(long(foods.Fields(QStringLiteral("GroupID")).toLongLong()),
                    long(foods.Fields(QStringLiteral("FoodId")).toLongLong()),
                    foods.Fields(QStringLiteral("FoodName")).toString(), true);
    foods.Close();
}

void FoodCatalog::AddFoodNode(long groupId, long foodId, const QString& foodName, bool loading) {
    TreeNode* node =
        tvwFood->Add(groupKey(groupId), foodKey(foodId), foodName, QStringLiteral("FoodItem"));
    if (!node)
        return;
    node->setTag(kFoodItem);
    if (!loading) {
        tvwFood->refresh();
        tvwFood->sortChildren(node->Parent());
        tvwFood->selectNode(node);
    }
}

void FoodCatalog::LocateFood(const QString& key, const QString& tag) {
    if (tag != kFoodItem)
        return;
    Recordset& foods = *gDataSource->rscmdFoods;
    foods.MoveFirst();
    foods.FindFirst(Criterion::equals(QStringLiteral("FoodId"), qlonglong(nodeId(key))));
}

void FoodCatalog::refreshFoodSelection() {
    if (TreeNode* selected = tvwFood->selectedNode())
        tvwFood_NodeClick(selected);
}

void FoodCatalog::tvwFood_NodeClick(TreeNode* node) {
    if (!node)
        return;
    enableForSelection(node);
    if (state.blnRightButton && !tvwFood->startingDrag()) {
        parts.showPopup(tvwFood);
        // The command chosen may have removed the clicked node, selected another or filled the
        // clipboard: what is enabled follows the selection as it is now.
        node = tvwFood->selectedNode();
        if (!node)
            return;
        enableForSelection(node);
    }
    enableForNode(node);
}

void FoodCatalog::enableForSelection(const TreeNode* node) {
    try {
        LocateFood(node->Key(), node->Tag());
    } catch (const DbError&) {
        // Without a current food the food commands report their own failure.
    }
    parts.enable({Command::Rename, Command::EditNew, Command::NewFoodGroup}, true);
    parts.enable({Command::DietDetails, Command::DietEntry}, false);
    const TreeNode* selected = tvwFood->selectedNode();
    parts.enable({Command::Paste},
                 selected && selected->Tag() != kGroupRoot && state.FoodClipValid);
}

void FoodCatalog::enableForNode(const TreeNode* node) {
    const QString tag = node->Tag();
    const bool food = tag == kFoodItem;
    parts.enable({Command::Cut, Command::Copy, Command::FoodDetails, Command::AddToDiet}, food);
    parts.enable({Command::Delete}, food || tag == kGroup);
    parts.enable({Command::NewFoodItem}, tag != kGroupRoot);
    const bool inFavorites = node->Parent() && node->Parent()->Tag() == kFavorite;
    parts.enable({Command::FoodFav}, food && !inFavorites);
    if (food) {
        QString serving;
        try {
            serving = gDataSource->rscmdFoods->Fields(QStringLiteral("ServingSize")).toString();
        } catch (const DbError&) {
        }
        parts.showServingSize(&serving);
    } else {
        parts.showServingSize(nullptr);
    }
    tvwFood->setAutoDrag(food);
}

void FoodCatalog::tvwFood_MouseDown(int button, int, int x, int y) {
    // A right press on a node opens the popup at the click that follows, or makes the drag it
    // starts a right-button drag; one on blank space leaves nothing for a later click to open.
    if (button == TreeButton::Right)
        state.blnRightButton = tvwFood->pressesNode(x, y);
}

void FoodCatalog::tvwFood_GotFocus() {
    state.strActiveTree = QStringLiteral("FOODS");
    savePendingFood();
}

void FoodCatalog::tvwFood_KeyDown(int keyCode, int shift) {
    if (keyCode == TreeKey::F2) {
        StartRename();
    } else if (keyCode == TreeKey::Escape) {
        CollapseToParent();
    } else if (keyCode >= TreeKey::A && keyCode <= TreeKey::Z) {
        if (shift != TreeShift::Ctrl)
            JumpToLetter(keyCode);
    } else if (keyCode == TreeKey::Enter) {
        const TreeNode* selected = tvwFood->selectedNode();
        if (selected && selected->Tag() != kFoodItem)
            tvwFood_DblClick();
    }
}

void FoodCatalog::tvwFood_DblClick() {
    TreeNode* selected = tvwFood->selectedNode();
    if (!selected)
        return;
    if (selected->Tag() == kFoodItem) {
        logCurrentFood();
    } else if (selected->Tag() == kGroup && selected->Children() == 0) {
        LoadGroupFoods(nodeId(selected->Key()));
        selected->setExpanded(true);
    }
}

void FoodCatalog::addToDietLog() {
    const TreeNode* selected = tvwFood->selectedNode();
    if (!selected || selected->Tag() != kFoodItem || tvwFood->isEditing())
        return;       // Insert while a name is typed belongs to the name
    logCurrentFood(); // the click on the food made it the current one
}

void FoodCatalog::logCurrentFood() {
    // The quick way to log one serving eaten today, in the food's own measure.
    if (const std::optional<FoodClipRecord> food = currentFoodToLog())
        parts.dietEntries->AddDietEntry(*food, 1, Clock::today(), food->ServingSize,
                                        food->USDA_MSRE_NO, food->USDA_GM_WT);
}

namespace {
// Groups switch between their closed and open pictures; foods keep theirs.
void showGroupImage(TreeNode* node, bool expanded) {
    const QString tag = node->Tag();
    if (tag == kGroup)
        node->setImage(expanded ? QStringLiteral("GroupOpen") : QStringLiteral("GroupClosed"));
    else if (tag == kFavorite || tag == kGroupRoot)
        node->setImage(expanded ? QStringLiteral("open") : QStringLiteral("closed"));
}
} // namespace

void FoodCatalog::tvwFood_Collapse(TreeNode* node) {
    showGroupImage(node, false);
}
void FoodCatalog::tvwFood_Expand(TreeNode* node) {
    showGroupImage(node, true);
}

void FoodCatalog::StartRename() {
    tvwFood->startLabelEdit();
}

void FoodCatalog::CollapseToParent() {
    const TreeNode* selected = tvwFood->selectedNode();
    if (selected && (selected->Tag() == kFoodItem || selected->Tag() == kGroup) &&
        selected->Parent())
        selected->Parent()->setExpanded(false);
}

void FoodCatalog::JumpToLetter(int keyCode) {
    TreeNode* selected = tvwFood->selectedNode();
    if (!selected || selected->Tag() != kFoodItem)
        return;
    const auto initial = [](const TreeNode* n) {
        const QString text = n->Text();
        return text.isEmpty() ? 0 : int(text.at(0).unicode());
    };
    const int own = initial(selected);
    if (own == keyCode)
        return;
    TreeNode* candidate = own > keyCode ? selected->FirstSibling() : selected->Next();
    TreeNode* target = nullptr;
    for (; candidate; candidate = candidate->Next())
        if (initial(candidate) >= keyCode) {
            target = candidate;
            break;
        }
    if (!target)
        target = selected->LastSibling();
    tvwFood->selectNode(target);
    tvwFood_NodeClick(target);
}

// ---- Find ---------------------------------------------------------------------------------

Recordset* FoodCatalog::findRows() {
    return gDataSource->rscmdFoods.get();
}

TreeControl* FoodCatalog::findTree() {
    return tvwFood;
}

void FoodCatalog::showFoundRow() {
    const Recordset& foods = *gDataSource->rscmdFoods;
    const long groupId = long(foods.Fields(QStringLiteral("GroupId")).toLongLong());
    const long foodId = long(foods.Fields(QStringLiteral("FoodId")).toLongLong());
    TreeNode* group = tvwFood->Item(groupKey(groupId));
    if (group)
        showGroupFoods(group);
    TreeNode* node = tvwFood->Item(foodKey(foodId));
    if (!node)
        return;
    tvwFood->selectNode(node);
    tvwFood->EnsureVisible(node);
    tvwFood_NodeClick(node);
    tvwFood->setFocus();
}

void FoodCatalog::restoreFoundRow() {
    if (const TreeNode* selected = tvwFood->selectedNode())
        LocateFood(selected->Key(), selected->Tag());
}
