// The food tree: filling it from the groups and foods, lazy loading of a group's foods, and what
// selecting, clicking, keys and double clicks on it do.
#include "Module1.h"
#include "Seams.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "frmMain.h"

#include <QLabel>

namespace {
const QString kGroupRoot = QStringLiteral("GROUPROOT");
const QString kFavorite = QStringLiteral("FAVORITE");
const QString kGroup = QStringLiteral("GROUP");
const QString kFoodItem = QStringLiteral("FOODITEM");

long idOf(const QString& key) {
    return key.mid(1).toLong();
}
QString groupKey(long id) {
    return u'G' + QString::number(id);
}
} // namespace

void frmMain::LoadFoodTree() {
    Recordset& groups = *gDataSource->rscmdGroups;
    tvwFood->setUpdatesEnabled(false);
    if (!groups.eof())
        groups.MoveFirst();
    for (; !groups.eof(); groups.MoveNext()) {
        const long id = groups.Fields(QStringLiteral("GroupId")).toLongLong();
        const QString name = groups.Fields(QStringLiteral("GroupName")).toString();
        const long parent = groups.Fields(QStringLiteral("ParentGroup")).toLongLong();
        if (parent == 0) {
            TreeNode* node = tvwFood->Add(QString(), groupKey(id), name, QStringLiteral("closed"));
            if (!node)
                continue;
            const QString tag = groups.Fields(QStringLiteral("GroupTag")).toString();
            node->setTag(tag);
            if (tag == kFavorite) {
                FavoritesGroupId = id;
                LoadGroupFoods(id);
                tvwFood->selectNode(node);
            }
        } else if (TreeNode* node = tvwFood->Add(groupKey(parent), groupKey(id), name,
                                                 QStringLiteral("GroupClosed"))) {
            // A group whose parent is not (yet) in the tree is not shown.
            node->setTag(kGroup);
        }
    }
    tvwFood->sortTopLevel();
    tvwFood->setUpdatesEnabled(true);
    if (TreeNode* selected = tvwFood->selectedNode())
        tvwFood_NodeClick(selected);
}

void frmMain::LoadGroupFoods(long groupId) {
    gDataSource->cmdFoodItems(groupId);
    if (!gDataSource->rscmdFoodItems)
        return;
    Recordset& foods = *gDataSource->rscmdFoodItems;
    for (; !foods.eof(); foods.MoveNext())
        AddFoodNode(foods.Fields(QStringLiteral("GroupID")).toLongLong(),
                    foods.Fields(QStringLiteral("FoodId")).toLongLong(),
                    foods.Fields(QStringLiteral("FoodName")).toString(), true);
    foods.Close();
}

void frmMain::AddFoodNode(long groupId, long foodId, const QString& foodName, bool loading) {
    TreeNode* node = tvwFood->Add(groupKey(groupId), u'F' + QString::number(foodId), foodName,
                                  QStringLiteral("FoodItem"));
    if (!node)
        return;
    node->setTag(kFoodItem);
    if (!loading) {
        tvwFood->refresh();
        tvwFood->sortChildren(node->Parent());
        tvwFood->selectNode(node);
    }
}

void frmMain::LocateFood(const QString& key, const QString& tag) {
    if (tag != kFoodItem)
        return;
    Recordset& foods = *gDataSource->rscmdFoods;
    foods.MoveFirst();
    foods.FindFirst(Criterion::equals(QStringLiteral("FoodId"), qlonglong(idOf(key))));
}

void frmMain::LocateGroup(const QString& key) {
    Recordset& groups = *gDataSource->rscmdGroups;
    groups.MoveFirst();
    groups.FindFirst(Criterion::equals(QStringLiteral("GroupId"), qlonglong(idOf(key))));
}

QString frmMain::GroupNameOf(long groupId) {
    Recordset& groups = *gDataSource->rscmdGroups;
    groups.MoveFirst();
    groups.FindFirst(Criterion::equals(QStringLiteral("GroupId"), qlonglong(groupId)));
    return groups.Fields(QStringLiteral("GroupName")).toString();
}

void frmMain::tvwFood_NodeClick(TreeNode* node) {
    if (!node)
        return;
    try {
        LocateFood(node->Key(), node->Tag());
    } catch (const DbError&) {
        // Without a current food the food commands report their own failure.
    }
    enable({"mnuEditRename", "mnuPop_RTB_Rename", "mnuEditNew", "mnuPop_RTB_New", "NewGroup"},
           true);
    enable({"mnuEditDietDetails", "mnuPop_RTB_DietDetails", "mnuEditDietEntry",
            "mnuPop_RTB_DietEntry"},
           false);
    const TreeNode* selected = tvwFood->selectedNode();
    enable({"mnuEditPaste", "mnuPop_RTB_Paste", "Paste"},
           selected && selected->Tag() != kGroupRoot && FoodClipValid);

    if (blnRightButton && !tvwFood->startingDrag()) {
        showPopup();
        blnRightButton = false;
    }

    const QString tag = node->Tag();
    const bool food = tag == kFoodItem;
    enable({"mnuEditCut", "mnuPop_RTB_Cut", "Cut", "mnuEditCopy", "mnuPop_RTB_Copy", "Copy",
            "mnuEditFoodDetails", "mnuPop_RTB_FoodDetails"},
           food);
    enable({"mnuEditDelete", "mnuPop_RTB_Delete", "Delete"}, food || tag == kGroup);
    enable({"mnuEditNewFoodItem", "mnuPop_RTB_NewFoodItem", "NewFood"}, tag != kGroupRoot);
    const bool inFavorites = node->Parent() && node->Parent()->Tag() == kFavorite;
    enable({"mnuEditFoodFav", "mnuPop_RTB_FoodFav"}, food && !inFavorites);
    if (food) {
        QString serving;
        try {
            serving = gDataSource->rscmdFoods->Fields(QStringLiteral("ServingSize")).toString();
        } catch (const DbError&) {
        }
        sbPanel1->setText(QStringLiteral("Serving Size:  ") + serving);
        sbPanel1->setToolTip(QStringLiteral("Serving Size of Selected Food Item"));
    } else {
        sbPanel1->clear();
        sbPanel1->setToolTip(QString());
    }
    tvwFood->setAutoDrag(food);
}

void frmMain::tvwFood_MouseDown(int button, int, int, int) {
    if (button == TreeButton::Right)
        blnRightButton = true;
}

void frmMain::tvwFood_GotFocus() {
    strActiveTree = QStringLiteral("FOODS");
}

void frmMain::tvwFood_KeyDown(int keyCode, int shift) {
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

void frmMain::tvwFood_DblClick() {
    TreeNode* selected = tvwFood->selectedNode();
    if (!selected)
        return;
    if (selected->Tag() == kFoodItem) {
        // The quick way to log one serving eaten today.
        Recordset* food = gDataSource->rscmdFoods.get();
        QString serving;
        long measureNo = 0, gramWeight = 0;
        try {
            serving = food->Fields(QStringLiteral("ServingSize")).toString();
            measureNo = long(food->Fields(QStringLiteral("USDA_MSRE_NO")).toLongLong());
            gramWeight = long(food->Fields(QStringLiteral("USDA_GM_WT")).toLongLong());
        } catch (const DbError&) {
            // AddDietEntry reports a food it cannot read.
        }
        AddDietEntry(1, Clock::today(), serving, measureNo, gramWeight);
    } else if (selected->Tag() == kGroup && selected->Children() == 0) {
        LoadGroupFoods(idOf(selected->Key()));
        selected->setExpanded(true);
    }
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

void frmMain::tvwFood_Collapse(TreeNode* node) {
    showGroupImage(node, false);
}
void frmMain::tvwFood_Expand(TreeNode* node) {
    showGroupImage(node, true);
}

void frmMain::StartRename() {
    tvwFood->startLabelEdit();
}

void frmMain::CollapseToParent() {
    const TreeNode* selected = tvwFood->selectedNode();
    if (selected && (selected->Tag() == kFoodItem || selected->Tag() == kGroup) &&
        selected->Parent())
        selected->Parent()->setExpanded(false);
}

void frmMain::JumpToLetter(int keyCode) {
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
