// Recording what was eaten: a diet entry from the current food, dropping foods and entries on
// the diet tree, and reopening an entry to change its servings, measure or date.
#include "DietNodes.h"
#include "Module1.h"
#include "Seams.h"
#include "Serving.h"
#include "ShowModal.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "dlgServings.h"
#include "frmMain.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QRadioButton>

namespace {
const QString kFoodItem = QStringLiteral("FOODITEM");

void reportUpdateFailure() {
    MsgBox(QStringLiteral("Unable to update Diet Data.  ") + gSupportMsg, vbCritical | vbOKOnly,
           QStringLiteral("Application Error"));
}

// Cancels an add or edit left open by a failure, so the row is not saved by a later move.
void abandon(Recordset* rs) {
    if (rs && rs->isOpen() && rs->editMode() != Recordset::EditMode::None)
        rs->CancelUpdate();
}

// The date a food dropped on `target` is logged for: the day's, the entry's day's, or today.
QDate dropDate(const TreeNode* target) {
    if (!target)
        return Clock::today();
    if (target->Tag() == kDietItem && target->Parent())
        return dateOf(target->Parent());
    return dateOf(target);
}
} // namespace

void frmMain::AddDietEntry(double servings, const QDate& date, const QString& servingText,
                           long measureNo, long gramWeight) {
    Recordset* diet = gDataSource->rscmdDietData.get();
    try {
        Recordset& food = *gDataSource->rscmdFoods;
        const double ratio = GramWeightRatio(food.Fields(QStringLiteral("USDA_GM_WT")).toDouble(),
                                             double(gramWeight));
        const long id = gDataSource->getTableKey(QStringLiteral("DIETACTIVITY"));
        if (id == 0)
            return; // reported; the window is closing
        const QString groupName = GroupNameOf(food.Fields(QStringLiteral("GroupId")).toLongLong());
        diet->AddNew();
        diet->setField(QStringLiteral("DietId"), qlonglong(id));
        diet->setField(QStringLiteral("GroupName"), groupName);
        diet->setField(QStringLiteral("FoodName"), food.Fields(QStringLiteral("FoodName")));
        diet->setField(QStringLiteral("DietDate"), date);
        diet->setField(QStringLiteral("NumServings"), servings);
        for (const char* name : kNutrientColumns) {
            const QString column = QString::fromLatin1(name);
            const QVariant v = food.Fields(column);
            diet->setField(column,
                           v.isNull() ? QVariant() : QVariant((v.toDouble() * servings) * ratio));
        }
        diet->setField(QStringLiteral("ServingSize"), servingText);
        diet->setField(QStringLiteral("USDA_NDB_NO"), food.Fields(QStringLiteral("USDA_NDB_NO")));
        diet->setField(QStringLiteral("USDA_MSRE_NO"), qlonglong(measureNo));
        diet->setField(QStringLiteral("USDA_GM_WT"), qlonglong(gramWeight));
        diet->setField(QStringLiteral("UserName"), gCurrentUser);
        diet->Update();
        diet->setBookmark(diet->LastModified());
    } catch (const DbError&) {
        abandon(diet);
        reportUpdateFailure();
        return;
    }
    AddDietNode(*diet, kDietItem, false);
}

long frmMain::FindMeasureIndex(long measureNo) {
    Recordset& measures = *gDataSource->rscmdMeasures;
    long result = 0, counter = 0;
    for (measures.MoveFirst(); !measures.eof(); measures.MoveNext(), ++counter)
        if (measures.Fields(QStringLiteral("MSRE_NO")).toLongLong() == measureNo)
            result = counter;
    measures.MoveFirst();
    return result;
}

// ---- Dragging -----------------------------------------------------------------------------

// Either tree's drag remembers its node; drops work from that and from the current rows.
void frmMain::rememberDragSource(TreeControl* tree) {
    if (TreeNode* node = tree->selectedNode()) {
        strDragKey = node->Key();
        strDragTag = node->Tag();
    }
}

void frmMain::clearDropHighlights() {
    tvwFood->setDropHighlight(nullptr);
    tvwDiet->setDropHighlight(nullptr);
}

void frmMain::tvwFood_OLEStartDrag(QMimeData*, Qt::DropActions&) {
    rememberDragSource(tvwFood);
}
void frmMain::tvwFood_OLECompleteDrag(Qt::DropAction) {
    clearDropHighlights();
}
void frmMain::tvwDiet_OLEStartDrag(QMimeData*, Qt::DropActions&) {
    rememberDragSource(tvwDiet);
}
void frmMain::tvwDiet_OLECompleteDrag(Qt::DropAction) {
    clearDropHighlights();
}

void frmMain::tvwDiet_OLEDragOver(const QMimeData*, Qt::DropAction&, int, int, int x, int y, int) {
    TreeNode* node = tvwDiet->hitTest(x, y);
    if (!node)
        return;
    const bool dayTarget =
        node->Tag() == kDietDay && (strDragTag == kDietItem || strDragTag == kFoodItem);
    const bool entryTarget = node->Tag() == kDietItem && strDragTag == kFoodItem;
    tvwDiet->setDropHighlight(dayTarget || entryTarget ? node : nullptr);
}

void frmMain::tvwDiet_OLEDragDrop(const QMimeData* data, Qt::DropAction&, int, int, int x, int y) {
    // Only drags that began in one of the two trees carry something to log or move.
    const QString source = TreeControl::dragSourceName(data);
    if (source != tvwFood->objectName() && source != tvwDiet->objectName()) {
        tvwDiet->setDropHighlight(nullptr);
        return;
    }
    Recordset* food = gDataSource->rscmdFoods.get();
    try {
        TreeNode* target = tvwDiet->hitTest(x, y);
        if (target && target->Tag() == kDietDay && target->Children() == 0)
            LoadDietItems(dateOf(target));

        if (strDragTag == kDietItem) {
            TreeNode* dragged = tvwDiet->selectedNode();
            if (target && target->Tag() == kDietDay && dragged && dragged->Tag() == kDietItem) {
                Recordset& diet = *gDataSource->rscmdDietData;
                diet.Edit();
                diet.setField(QStringLiteral("DietDate"), dateOf(target));
                diet.Update();
                tvwDiet->Remove(dragged);
                AddDietNode(diet, kDietItem, false);
            }
        } else if (strDragTag == kFoodItem && !blnRightButton) {
            AddDietEntry(1, dropDate(target),
                         food->Fields(QStringLiteral("ServingSize")).toString(),
                         long(food->Fields(QStringLiteral("USDA_MSRE_NO")).toLongLong()),
                         long(food->Fields(QStringLiteral("USDA_GM_WT")).toLongLong()));
        } else if (strDragTag == kFoodItem) {
            gDataSource->cmdMeasures(
                long(food->Fields(QStringLiteral("USDA_NDB_NO")).toLongLong()));
            if (!gDataSource->rscmdMeasures)
                return; // reported; the window is closing
            dlgServings dlg(this);
            dlg.Form_Load();
            dlg.rbPreffered->setChecked(false);
            const bool measures = dlg.hasMeasures();
            if (measures) {
                dlg.cmbServSize->setCurrentIndex(int(FindMeasureIndex(
                    long(food->Fields(QStringLiteral("USDA_MSRE_NO")).toLongLong()))));
            } else {
                dlg.lockServingSize(food->Fields(QStringLiteral("ServingSize")).toString());
                dlg.rbPreffered->hide();
            }
            dlg.DTDate->setDate(dropDate(target));
            ShowModal(dlg);
            if (dlg.txtCloseMode->text() == u"OK") {
                QString serving;
                long measureNo = 0, gramWeight = 0;
                if (measures) {
                    FindMeasure(dlg.cmbServSize->currentIndex(), 0);
                    Recordset& m = *gDataSource->rscmdMeasures;
                    serving = m.Fields(QStringLiteral("MSRE_DESC")).toString();
                    measureNo = long(m.Fields(QStringLiteral("MSRE_NO")).toLongLong());
                    gramWeight = RoundHalfEven(m.Fields(QStringLiteral("GM_WT")).toDouble());
                    if (dlg.cmbServSize->currentText() !=
                            food->Fields(QStringLiteral("ServingSize")).toString() &&
                        dlg.rbPreffered->isChecked()) {
                        food->Edit();
                        RescaleFood(measureNo, gramWeight, serving);
                        food->Update();
                    }
                } else {
                    serving = food->Fields(QStringLiteral("ServingSize")).toString();
                    measureNo = long(food->Fields(QStringLiteral("USDA_MSRE_NO")).toLongLong());
                    gramWeight = long(food->Fields(QStringLiteral("USDA_GM_WT")).toLongLong());
                }
                double servings = 0;
                ParseServings(dlg.cmbServings->currentText(), &servings);
                AddDietEntry(servings, dlg.DTDate->date(), serving, measureNo, gramWeight);
            }
            if (gDataSource->rscmdMeasures)
                gDataSource->rscmdMeasures->Close();
        }
    } catch (const DbError&) {
        abandon(food);
        abandon(gDataSource->rscmdDietData.get());
        reportUpdateFailure();
    }
    tvwDiet->setDropHighlight(nullptr);
    blnRightButton = false;
}

// ---- Editing an entry ---------------------------------------------------------------------

void frmMain::EditDietEntry() {
    TreeNode* selected = tvwDiet->selectedNode();
    Recordset* diet = gDataSource->rscmdDietData.get();
    try {
        FindDietEntry(selected ? selected->Key() : QString());
    } catch (const DbError&) {
    }
    if (!selected || !diet->hasCurrentRow()) {
        MsgBox(QStringLiteral("Unable to update the selected item.  ") + gSupportMsg,
               vbCritical | vbOKOnly, QStringLiteral("Application Error"));
        blnRightButton = false;
        return;
    }
    try {
        gDataSource->cmdMeasures(long(diet->Fields(QStringLiteral("USDA_NDB_NO")).toLongLong()));
        if (!gDataSource->rscmdMeasures)
            return;
        dlgServings dlg(this);
        dlg.Form_Load();
        dlg.rbPreffered->setChecked(false);
        const bool measures = dlg.hasMeasures();
        if (measures)
            dlg.cmbServSize->setCurrentIndex(int(
                FindMeasureIndex(long(diet->Fields(QStringLiteral("USDA_MSRE_NO")).toLongLong()))));
        else
            dlg.lockServingSize(diet->Fields(QStringLiteral("ServingSize")).toString());
        const double oldServings = diet->Fields(QStringLiteral("NumServings")).toDouble();
        dlg.cmbServings->setEditText(QString::number(oldServings));
        dlg.DTDate->setDate(diet->Fields(QStringLiteral("DietDate")).toDate());
        dlg.rbPreffered->hide();
        ShowModal(dlg);
        if (dlg.txtCloseMode->text() == u"OK") {
            double newServings = 0;
            ParseServings(dlg.cmbServings->currentText(), &newServings);
            // Values are per serving times servings: from no servings there is nothing to scale.
            if (oldServings == 0)
                throw DbError("An entry of no servings cannot be rescaled.");
            diet->Edit();
            double ratio = 1.0;
            if (measures && dlg.cmbServSize->currentIndex() >= 0) {
                FindMeasure(dlg.cmbServSize->currentIndex(), 0);
                Recordset& m = *gDataSource->rscmdMeasures;
                // The stored gram weight is whole grams, so the new one is rounded the same way:
                // saving an entry again without a change must not scale it again.
                const long gramWeight = RoundHalfEven(m.Fields(QStringLiteral("GM_WT")).toDouble());
                const double stored = diet->Fields(QStringLiteral("USDA_GM_WT")).toDouble();
                if (stored == 0)
                    throw DbError("The entry has no gram weight to scale from.");
                ratio = double(gramWeight) / stored;
                diet->setField(QStringLiteral("ServingSize"),
                               m.Fields(QStringLiteral("MSRE_DESC")));
                diet->setField(QStringLiteral("USDA_MSRE_NO"), m.Fields(QStringLiteral("MSRE_NO")));
                diet->setField(QStringLiteral("USDA_GM_WT"), qlonglong(gramWeight));
            } else {
                diet->setField(QStringLiteral("ServingSize"), dlg.cmbServSize->currentText());
            }
            diet->setField(QStringLiteral("DietDate"), dlg.DTDate->date());
            diet->setField(QStringLiteral("NumServings"), newServings);
            for (const char* name : kNutrientColumns) {
                const QString column = QString::fromLatin1(name);
                const QVariant v = diet->Fields(column);
                diet->setField(
                    column, v.isNull()
                                ? QVariant()
                                : QVariant(((v.toDouble() / oldServings) * newServings) * ratio));
            }
            diet->Update();
            TreeNode* day = selected->Parent();
            tvwDiet->Remove(day && day->Children() == 1 ? day : selected);
            AddDietNode(*diet, kDietItem, false);
        }
        if (gDataSource->rscmdMeasures)
            gDataSource->rscmdMeasures->Close();
    } catch (const DbError&) {
        abandon(diet);
        reportUpdateFailure();
    }
    blnRightButton = false;
}
