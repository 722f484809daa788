// Recording what was eaten: a diet entry from the current food, dropping foods and entries on
// the diet tree, and reopening an entry to change its servings, measure or date.
#include "DietLog.h"

#include "DietNodes.h"
#include "FoodNodes.h"
#include "Module1.h"
#include "Seams.h"
#include "Serving.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "dlgServings.h"

namespace {
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

// Takes back the unfinished transaction of a write that failed; a log that cannot be taken back
// ends the run.
void rollBack() {
    try {
        gDataSource->connDB.Rollback();
    } catch (const DbError&) {
        gDataSource->reportFailure(kDietUpdatePhrase);
    }
}

QString groupNameOf(long groupId) {
    Recordset& groups = *gDataSource->rscmdGroups;
    groups.MoveFirst();
    groups.FindFirst(Criterion::equals(QStringLiteral("GroupId"), qlonglong(groupId)));
    return groups.Fields(QStringLiteral("GroupName")).toString();
}

// The measures of a USDA food, read for one showing of the dialog and closed after it.
class MeasuresShown {
public:
    explicit MeasuresShown(long ndb) { gDataSource->cmdMeasures(ndb); }
    ~MeasuresShown() {
        if (gDataSource->rscmdMeasures)
            gDataSource->rscmdMeasures->Close();
    }
    MeasuresShown(const MeasuresShown&) = delete;
    MeasuresShown& operator=(const MeasuresShown&) = delete;
};
} // namespace

void DietLog::AddDietEntry(const FoodClipRecord& food, double servings, const QDate& date,
                           const QString& servingText, long measureNo, double gramWeight) {
    DietClipRecord entry;
    entry.values =
        food.values.scaled(servings).scaled(gramWeightRatio(food.USDA_GM_WT, gramWeight));
    if (refuseInfinite(entry.values))
        return;
    entry.DietDate = date;
    entry.NumServings = servings;
    entry.FoodName = food.FoodName;
    entry.ServingSize = servingText;
    entry.USDA_NDB_NO = food.USDA_NDB_NO;
    entry.USDA_MSRE_NO = measureNo;
    entry.USDA_GM_WT = gramWeight;
    try {
        entry.GroupName = groupNameOf(food.GroupId);
    } catch (const DbError&) {
        showAppError(kDietUpdatePhrase);
        return;
    }
    addEntries({entry});
}

bool DietLog::addEntries(std::vector<DietClipRecord> entries) {
    Recordset& diet = *gDataSource->rscmdDietData;
    std::vector<Bookmark> added;
    try {
        gDataSource->connDB.BeginTrans();
        for (DietClipRecord& entry : entries) {
            entry.DietId = gDataSource->getTableKey(QStringLiteral("DIETACTIVITY"));
            EditScope add(diet);
            diet.AddNew();
            entry.write(diet);
            diet.setField(QStringLiteral("UserName"), gCurrentUser);
            add.commit();
            added.push_back(diet.LastModified());
        }
        gDataSource->connDB.CommitTrans();
    } catch (const DbError&) {
        rollBack();
        // The set still lists the rows the rollback took back: it is read again, and the
        // selected entry made current again.
        ReloadDietLog(false);
        locateSelectedEntry();
        showAppError(kDietUpdatePhrase);
        return false;
    } catch (const CommandFailed&) {
        rollBack();
        throw;
    }
    if (added.empty())
        return false;
    parts.dietChanged();
    // A day already shown takes the others first; then the first is added as a single new entry
    // is, which makes or loads its day (bringing the others along) and is selected.
    const TreeNode* day = tvwDiet->Item(dayKey(entries.front().DietDate));
    if (day && day->Children() > 0)
        for (size_t i = 1; i < added.size(); ++i) {
            diet.setBookmark(added[i]);
            AddDietNode(diet, kDietItem, true);
        }
    diet.setBookmark(added.front());
    AddDietNode(diet, kDietItem, false);
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
    // Whatever happens, the drop ends the drag's highlight and its right button.
    struct DropEnd {
        DietLog& log;
        ~DropEnd() {
            log.tvwDiet->setDropHighlight(nullptr);
            log.state.blnRightButton = false;
        }
    } end{*this};
    // Only drags that began in one of the two trees carry something to log or move.
    const QString source = TreeControl::dragSourceName(data);
    if (source != parts.tvwFood->objectName() && source != tvwDiet->objectName())
        return;
    TreeNode* target = tvwDiet->hitTest(x, y);
    if (target && target->Tag() == kDietDay && target->Children() == 0)
        LoadDietItems(dateOf(target));
    if (state.strDragTag == kDietItem) {
        TreeNode* dragged = tvwDiet->selectedNode();
        if (target && target->Tag() == kDietDay && dragged && dragged->Tag() == kDietItem)
            moveEntry(dragged, dateOf(target));
        return;
    }
    if (state.strDragTag != kFoodItem)
        return;
    const std::optional<FoodClipRecord> food = currentFoodToLog();
    if (!food)
        return;
    if (state.blnRightButton)
        dropFoodAskingServings(*food, dropDate(target));
    else
        AddDietEntry(*food, 1, dropDate(target), food->ServingSize, food->USDA_MSRE_NO,
                     food->USDA_GM_WT);
}

void DietLog::moveEntry(TreeNode* entry, const QDate& day) {
    Recordset& diet = *gDataSource->rscmdDietData;
    try {
        EditScope edit(diet);
        diet.Edit();
        diet.setField(QStringLiteral("DietDate"), day);
        edit.commit();
    } catch (const DbError&) {
        showAppError(kDietUpdatePhrase);
        return;
    }
    parts.dietChanged();
    tvwDiet->Remove(entry);
    AddDietNode(diet, kDietItem, false);
}

// A right-button drop asks for the servings, the measure and the date first.
void DietLog::dropFoodAskingServings(FoodClipRecord food, const QDate& date) {
    const MeasuresShown measures(food.USDA_NDB_NO);
    dlgServings dlg(parts.window);
    dlg.prepareForDrop(food, date);
    if (dlg.run() != u"OK")
        return;
    const ServingChoice choice = dlg.choice();
    if (choice.preferred) {
        // The chosen measure becomes the food's own; the entry is of the food as it is now.
        Recordset& foods = *gDataSource->rscmdFoods;
        try {
            EditScope edit(foods);
            foods.Edit();
            RescaleFood(choice.measureNo, choice.gramWeight, choice.serving);
            edit.commit();
            food = FoodClipRecord::read(foods);
        } catch (const DbError&) {
            showAppError(kDietUpdatePhrase);
            return;
        }
    }
    AddDietEntry(food, choice.servings, choice.date, choice.serving, choice.measureNo,
                 choice.gramWeight);
}

// ---- Editing an entry ---------------------------------------------------------------------

void DietLog::EditDietEntry() {
    const TreeNode* selected = tvwDiet->selectedNode();
    // Only the key is kept across the dialog: the node is looked up again afterwards.
    const QString key = selected ? selected->Key() : QString();
    Recordset& diet = *gDataSource->rscmdDietData;
    DietClipRecord entry;
    try {
        FindDietEntry(key);
        if (selected && diet.hasCurrentRow())
            entry = DietClipRecord::read(diet);
    } catch (const DbError&) {
        // told below, as an entry that cannot be found
    }
    state.blnRightButton = false;
    if (entry.DietId == 0) {
        showAppError(kEntryUpdatePhrase);
        return;
    }
    const MeasuresShown measures(entry.USDA_NDB_NO);
    dlgServings dlg(parts.window);
    dlg.prepareForEdit(entry);
    if (dlg.run() != u"OK")
        return;
    const ServingChoice choice = dlg.choice();
    // Values are per serving times servings: from no servings there is nothing to scale.
    if (entry.NumServings == 0) {
        showAppError(kDietUpdatePhrase);
        return;
    }
    // One factor, so that the same servings and measure leave every value as it was.
    const double factor = (choice.servings / entry.NumServings) *
                          gramWeightRatio(entry.USDA_GM_WT, choice.gramWeight);
    DietClipRecord edited = entry;
    edited.values = entry.values.scaled(factor);
    if (refuseInfinite(edited.values))
        return;
    edited.ServingSize = choice.serving;
    edited.USDA_MSRE_NO = choice.measureNo;
    edited.USDA_GM_WT = choice.gramWeight;
    edited.DietDate = choice.date;
    edited.NumServings = choice.servings;
    try {
        EditScope edit(diet);
        FindDietEntry(key);
        diet.Edit();
        edited.write(diet);
        edit.commit();
    } catch (const DbError&) {
        showAppError(kDietUpdatePhrase);
        return;
    }
    parts.dietChanged();
    if (TreeNode* node = tvwDiet->Item(key)) {
        TreeNode* day = node->Parent();
        tvwDiet->Remove(day && day->Children() == 1 ? day : node);
    }
    AddDietNode(diet, kDietItem, false);
}
