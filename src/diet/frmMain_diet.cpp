// The diet tree: the current user's days, each day's entries loaded when first needed, and what
// focus, clicks and keys on it do.
#include "DietNodes.h"
#include "Module1.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "frmMain.h"

#include <QLabel>

void frmMain::LoadDietDates() {
    gDataSource->cmdDietDates(gCurrentUser);
    if (!gDataSource->rscmdDietDates)
        return;
    Recordset& dates = *gDataSource->rscmdDietDates;
    tvwDiet->setUpdatesEnabled(false);
    if (!dates.eof())
        dates.MoveFirst();
    for (; !dates.eof(); dates.MoveNext())
        AddDietNode(dates, kDietDay, true);
    dates.Close();
    tvwDiet->setUpdatesEnabled(true);
    tvwDiet->refresh();
}

void frmMain::LoadDietItems(const QDate& day) {
    gDataSource->cmdDietItems(day, gCurrentUser);
    if (!gDataSource->rscmdDietItems)
        return;
    Recordset& items = *gDataSource->rscmdDietItems;
    for (; !items.eof(); items.MoveNext())
        AddDietNode(items, kDietItem, true);
    items.Close();
}

void frmMain::AddDietNode(Recordset& rs, const QString& tag, bool loading) {
    const QDate d = rs.Fields(QStringLiteral("DietDate")).toDate();
    if (tag != kDietItem) {
        if (TreeNode* day =
                tvwDiet->Add(QString(), dayKey(d), dayText(d), QStringLiteral("DayClosed")))
            day->setTag(kDietDay);
        if (!loading)
            tvwDiet->refresh();
        return;
    }
    // From here on a node that cannot be made is passed over: the tree shows the change the
    // next time the day is loaded.
    TreeNode* entry = nullptr;
    try {
        const QString key =
            u'D' + QString::number(rs.Fields(QStringLiteral("DietId")).toLongLong());
        const QString name = rs.Fields(QStringLiteral("FoodName")).toString();
        TreeNode* day = tvwDiet->Item(dayKey(d));
        bool add = true;
        if (!loading) {
            if (!day) {
                day = tvwDiet->Add(QString(), dayKey(d), dayText(d), QStringLiteral("DayClosed"));
                if (day) {
                    day->setTag(kDietDay);
                    // New days take their place among the others (day texts sort by date).
                    tvwDiet->sortTopLevel();
                }
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

void frmMain::FindDietEntry(const QString& key) {
    Recordset& diet = *gDataSource->rscmdDietData;
    diet.MoveFirst();
    diet.FindFirst(Criterion::equals(QStringLiteral("DietId"), key.mid(1).toLongLong()));
}

void frmMain::tvwDiet_GotFocus() {
    strActiveTree = QStringLiteral("DIET");
    enable({"mnuEditFoodDetails", "mnuPop_RTB_FoodDetails", "mnuEditRename", "mnuPop_RTB_Rename",
            "mnuEditNew", "mnuPop_RTB_New", "NewFood", "NewGroup", "mnuEditFoodFav",
            "mnuPop_RTB_FoodFav"},
           false);
    enable({"mnuEditDelete", "mnuPop_RTB_Delete", "Delete", "mnuEditDietDetails",
            "mnuPop_RTB_DietDetails"},
           true);
    enable({"mnuEditPaste", "mnuPop_RTB_Paste", "Paste"}, DietClipValid);
    sbPanel1->clear();
    sbPanel1->setToolTip(QString());
}

void frmMain::tvwDiet_NodeClick(TreeNode*) {
    TreeNode* selected = tvwDiet->selectedNode();
    if (selected && selected->Tag() == kDietItem) {
        try {
            FindDietEntry(selected->Key());
        } catch (const DbError&) {
            // The entry commands report a missing current entry themselves.
        }
    }
    if (blnRightButton && !tvwDiet->startingDrag()) {
        showPopup();
        blnRightButton = false;
    }
    selected = tvwDiet->selectedNode();
    if (!selected)
        return;
    const bool entry = selected->Tag() == kDietItem;
    enable({"mnuEditCut", "mnuPop_RTB_Cut", "Cut", "mnuEditCopy", "mnuPop_RTB_Copy", "Copy",
            "mnuEditDietEntry", "mnuPop_RTB_DietEntry"},
           entry);
    tvwDiet->setAutoDrag(entry);
}

void frmMain::tvwDiet_MouseDown(int button, int, int, int) {
    if (button == TreeButton::Right)
        blnRightButton = true;
}

void frmMain::tvwDiet_KeyDown(int keyCode, int) {
    if (keyCode == TreeKey::Escape) {
        CollapseDietDay();
    } else if (keyCode == TreeKey::Enter) {
        const TreeNode* selected = tvwDiet->selectedNode();
        if (selected && selected->Tag() == kDietDay)
            tvwDiet_DblClick();
    }
}

void frmMain::tvwDiet_DblClick() {
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

void frmMain::tvwDiet_Expand(TreeNode* node) {
    node->setImage(QStringLiteral("DayOpen"));
}
void frmMain::tvwDiet_Collapse(TreeNode* node) {
    node->setImage(QStringLiteral("DayClosed"));
}

void frmMain::CollapseDietDay() {
    const TreeNode* selected = tvwDiet->selectedNode();
    if (selected && selected->Tag() == kDietItem && selected->Parent())
        selected->Parent()->setExpanded(false);
}
