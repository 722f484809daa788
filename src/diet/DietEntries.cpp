// Recording what was eaten: a diet entry from the current food, dropping foods and entries on
// the diet tree, and reopening an entry to change its servings, measure or date.
#include "DietLog.h"

#include "DietNodes.h"
#include "FoodNodes.h"
#include "Module1.h"
#include "NumberText.h"
#include "Seams.h"
#include "Serving.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "dlgServings.h"

#include <QComboBox>
#include <QDateEdit>
#include <QRadioButton>

namespace {
const QString kUpdateFailure = QStringLiteral("Unable to update Diet Data.  ");

// Cancels an add or edit left open by a failure, so the row is not saved by a later move.
void abandon(Recordset* rs) {
    if (rs && rs->isOpen() && rs->editMode() != Recordset::EditMode::None)
        rs->CancelUpdate();
}

// Values that overflow are never written: the entry could not be shown or edited again.
bool refuseInfinite(const Nutrients& values) {
    if (values.isFinite())
        return false;
    MsgBox(QStringLiteral("Number of Servings must be numeric."), vbExclamation | vbOKOnly,
           QStringLiteral("Forkwise"));
    return true;
}

// The date a food dropped on `target` is logged for: the day's, the entry's day's, or today.
QDate dropDate(const TreeNode* target) {
    if (!target)
        return Clock::today();
    if (target->Tag() == kDietItem && target->Parent())
        return dateOf(target->Parent());
    return dateOf(target);
}

QString groupNameOf(long groupId) {
    Recordset& groups = *gDataSource->rscmdGroups;
    groups.MoveFirst();
    groups.FindFirst(Criterion::equals(QStringLiteral("GroupId"), qlonglong(groupId)));
    return groups.Fields(QStringLiteral("GroupName")).toString();
}

// The USDA measure of an entry or a food: its serving text, number and gram weight.
struct Measure {
    QString serving;
    long number = 0;
    double gramWeight = 0;
};
Measure measureOf(const Recordset& rs) {
    return {rs.Fields(QStringLiteral("ServingSize")).toString(),
            long(rs.Fields(QStringLiteral("USDA_MSRE_NO")).toLongLong()),
            rs.Fields(QStringLiteral("USDA_GM_WT")).toDouble()};
}
// The measure chosen in the dialog's list, from rscmdMeasures.
Measure chosenMeasure(const dlgServings& dlg) {
    FindMeasure(dlg.cmbServSize->currentIndex(), 0);
    const Recordset& m = *gDataSource->rscmdMeasures;
    return {m.Fields(QStringLiteral("MSRE_DESC")).toString(),
            long(m.Fields(QStringLiteral("MSRE_NO")).toLongLong()),
            m.Fields(QStringLiteral("GM_WT")).toDouble()};
}
} // namespace

void DietLog::AddDietEntry(double servings, const QDate& date, const QString& servingText,
                           long measureNo, double gramWeight) {
    Recordset* diet = gDataSource->rscmdDietData.get();
    try {
        Recordset& food = *gDataSource->rscmdFoods;
        const double ratio =
            GramWeightRatio(food.Fields(QStringLiteral("USDA_GM_WT")).toDouble(), gramWeight);
        const Nutrients values = Nutrients::read(food).scaled(servings).scaled(ratio);
        if (refuseInfinite(values))
            return;
        const long id = gDataSource->getTableKey(QStringLiteral("DIETACTIVITY"));
        if (id == 0)
            return; // reported; the window is closing
        const QString groupName =
            groupNameOf(long(food.Fields(QStringLiteral("GroupId")).toLongLong()));
        diet->AddNew();
        diet->setField(QStringLiteral("DietId"), qlonglong(id));
        diet->setField(QStringLiteral("GroupName"), groupName);
        diet->setField(QStringLiteral("FoodName"), food.Fields(QStringLiteral("FoodName")));
        diet->setField(QStringLiteral("DietDate"), date);
        diet->setField(QStringLiteral("NumServings"), servings);
        values.write(*diet);
        diet->setField(QStringLiteral("ServingSize"), servingText);
        diet->setField(QStringLiteral("USDA_NDB_NO"), food.Fields(QStringLiteral("USDA_NDB_NO")));
        diet->setField(QStringLiteral("USDA_MSRE_NO"), qlonglong(measureNo));
        diet->setField(QStringLiteral("USDA_GM_WT"), gramWeight);
        diet->setField(QStringLiteral("UserName"), gCurrentUser);
        diet->Update();
        diet->setBookmark(diet->LastModified());
    } catch (const DbError&) {
        abandon(diet);
        ShowAppError(kUpdateFailure);
        return;
    }
    AddDietNode(*diet, kDietItem, false);
}

bool DietLog::prepareServings(dlgServings& dlg, const Recordset& rs) {
    gDataSource->cmdMeasures(long(rs.Fields(QStringLiteral("USDA_NDB_NO")).toLongLong()));
    if (gDataSource->closed())
        return false;
    dlg.Form_Load();
    dlg.rbPreffered->setChecked(false);
    const Measure own = measureOf(rs);
    if (dlg.hasMeasures()) {
        dlg.cmbServSize->setCurrentIndex(int(FindMeasureIndex(own.number)));
    } else {
        dlg.lockServingSize(own.serving);
        dlg.rbPreffered->hide(); // nothing to prefer: the food keeps its own serving
    }
    return true;
}

// ---- Dragging -----------------------------------------------------------------------------

void DietLog::tvwDiet_OLEStartDrag(QMimeData*, Qt::DropActions&) {
    if (TreeNode* node = tvwDiet->selectedNode()) {
        state.strDragKey = node->Key();
        state.strDragTag = node->Tag();
    }
}

void DietLog::tvwDiet_OLECompleteDrag(Qt::DropAction) {
    parts.tvwFood->setDropHighlight(nullptr);
    tvwDiet->setDropHighlight(nullptr);
}

void DietLog::tvwDiet_OLEDragOver(const QMimeData*, Qt::DropAction&, int, int, int x, int y, int) {
    TreeNode* node = tvwDiet->hitTest(x, y);
    if (!node)
        return;
    const bool dayTarget =
        node->Tag() == kDietDay && (state.strDragTag == kDietItem || state.strDragTag == kFoodItem);
    const bool entryTarget = node->Tag() == kDietItem && state.strDragTag == kFoodItem;
    tvwDiet->setDropHighlight(dayTarget || entryTarget ? node : nullptr);
}

void DietLog::tvwDiet_OLEDragDrop(const QMimeData* data, Qt::DropAction&, int, int, int x, int y) {
    // Only drags that began in one of the two trees carry something to log or move.
    const QString source = TreeControl::dragSourceName(data);
    if (source != parts.tvwFood->objectName() && source != tvwDiet->objectName()) {
        tvwDiet->setDropHighlight(nullptr);
        return;
    }
    try {
        TreeNode* target = tvwDiet->hitTest(x, y);
        if (target && target->Tag() == kDietDay && target->Children() == 0) {
            LoadDietItems(dateOf(target));
            if (gDataSource->closed())
                return; // reported; the window is closing and the target is gone
        }
        if (state.strDragTag == kDietItem) {
            TreeNode* dragged = tvwDiet->selectedNode();
            if (target && target->Tag() == kDietDay && dragged && dragged->Tag() == kDietItem) {
                Recordset& diet = *gDataSource->rscmdDietData;
                diet.Edit();
                diet.setField(QStringLiteral("DietDate"), dateOf(target));
                diet.Update();
                tvwDiet->Remove(dragged);
                AddDietNode(diet, kDietItem, false);
            }
        } else if (state.strDragTag == kFoodItem && !state.blnRightButton) {
            const Measure m = measureOf(*gDataSource->rscmdFoods);
            AddDietEntry(1, dropDate(target), m.serving, m.number, m.gramWeight);
        } else if (state.strDragTag == kFoodItem) {
            dropFoodAskingServings(target);
        }
    } catch (const DbError&) {
        abandon(gDataSource->rscmdFoods.get());
        abandon(gDataSource->rscmdDietData.get());
        ShowAppError(kUpdateFailure);
    }
    if (gDataSource->closed())
        return;
    tvwDiet->setDropHighlight(nullptr);
    state.blnRightButton = false;
}

// A right-button drop asks for the servings, the measure and the date first.
void DietLog::dropFoodAskingServings(TreeNode* target) {
    Recordset* food = gDataSource->rscmdFoods.get();
    const Measure own = measureOf(*food);
    dlgServings dlg(parts.window);
    if (!prepareServings(dlg, *food))
        return;
    const bool measures = dlg.hasMeasures();
    dlg.DTDate->setDate(dropDate(target));
    if (dlg.run() == u"OK") {
        Measure m = own;
        if (measures) {
            m = chosenMeasure(dlg);
            if (dlg.cmbServSize->currentText() != own.serving && dlg.rbPreffered->isChecked()) {
                food->Edit();
                RescaleFood(m.number, m.gramWeight, m.serving);
                food->Update();
            }
        }
        AddDietEntry(dlg.servings(), dlg.DTDate->date(), m.serving, m.number, m.gramWeight);
    }
    if (!gDataSource->closed() && gDataSource->rscmdMeasures)
        gDataSource->rscmdMeasures->Close();
}

// ---- Editing an entry ---------------------------------------------------------------------

void DietLog::EditDietEntry() {
    const TreeNode* selected = tvwDiet->selectedNode();
    // Only the key is kept across the dialog: the node is looked up again afterwards.
    const QString key = selected ? selected->Key() : QString();
    Recordset* diet = gDataSource->rscmdDietData.get();
    try {
        FindDietEntry(key);
    } catch (const DbError&) {
    }
    if (!selected || !diet->hasCurrentRow()) {
        ShowAppError(QStringLiteral("Unable to update the selected item.  "));
        state.blnRightButton = false;
        return;
    }
    try {
        dlgServings dlg(parts.window);
        if (!prepareServings(dlg, *diet))
            return;
        const bool measures = dlg.hasMeasures();
        const Measure own = measureOf(*diet);
        const double oldServings = diet->Fields(QStringLiteral("NumServings")).toDouble();
        // Shown in full, so that OK without a change gives back the very same number.
        dlg.cmbServings->setEditText(ServingsText(oldServings));
        dlg.DTDate->setDate(diet->Fields(QStringLiteral("DietDate")).toDate());
        dlg.rbPreffered->hide();
        if (dlg.run() == u"OK") {
            const double newServings = dlg.servings();
            // Values are per serving times servings: from no servings there is nothing to scale.
            if (oldServings == 0)
                throw DbError("An entry of no servings cannot be rescaled.");
            Measure m = own;
            if (measures && dlg.cmbServSize->currentIndex() >= 0)
                m = chosenMeasure(dlg);
            else
                m.serving = dlg.cmbServSize->currentText();
            // One factor, so that the same servings and measure leave every value as it was.
            const double factor =
                (newServings / oldServings) * GramWeightRatio(own.gramWeight, m.gramWeight);
            const Nutrients values = Nutrients::read(*diet).scaled(factor);
            if (!refuseInfinite(values)) {
                diet->Edit();
                diet->setField(QStringLiteral("ServingSize"), m.serving);
                diet->setField(QStringLiteral("USDA_MSRE_NO"), qlonglong(m.number));
                diet->setField(QStringLiteral("USDA_GM_WT"), m.gramWeight);
                diet->setField(QStringLiteral("DietDate"), dlg.DTDate->date());
                diet->setField(QStringLiteral("NumServings"), newServings);
                values.write(*diet);
                diet->Update();
                if (TreeNode* node = tvwDiet->Item(key)) {
                    TreeNode* day = node->Parent();
                    tvwDiet->Remove(day && day->Children() == 1 ? day : node);
                }
                AddDietNode(*diet, kDietItem, false);
            }
        }
        if (!gDataSource->closed() && gDataSource->rscmdMeasures)
            gDataSource->rscmdMeasures->Close();
    } catch (const DbError&) {
        abandon(diet);
        ShowAppError(kUpdateFailure);
    }
    state.blnRightButton = false;
}
