// Deleting diet entries and whole days, and cutting, copying and pasting entries between days.
#include "DietLog.h"

#include "DietNodes.h"
#include "Module1.h"
#include "Seams.h"
#include "Snapshot.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"

void DietLog::Cut() {
    DeleteDietEntry(QStringLiteral("CUT"));
}

void DietLog::Copy() {
    if (!gDataSource->rscmdDietData)
        return;
    try {
        CopyDietEntry(*gDataSource->rscmdDietData);
    } catch (const DbError&) {
        // Nothing current to copy: the clipboard keeps what it had.
    }
}

void DietLog::Paste() {
    PasteDietEntry();
}

void DietLog::Delete() {
    DeleteSelected();
}

void DietLog::DeleteSelected() {
    if (state.strActiveTree != u"DIET")
        return;
    const TreeNode* selected = tvwDiet->selectedNode();
    if (!selected)
        return;
    if (selected->Tag() == kDietItem)
        DeleteDietEntry(QStringLiteral("DELETE"));
    else
        DeleteDietDay(dateOf(selected));
}

void DietLog::DeleteDietEntry(const QString& mode) {
    const QString word = mode == u"CUT" ? QStringLiteral("Cut") : QStringLiteral("Delete");
    if (MsgBox(QStringLiteral("Are you sure you want to ") + word +
                   QStringLiteral(" the selected Diet Entry?"),
               vbYesNo, QStringLiteral("Forkwise")) != vbYes)
        return;
    TreeNode* selected = tvwDiet->selectedNode();
    if (!selected || selected->Tag() != kDietItem)
        return;
    Recordset& diet = *gDataSource->rscmdDietData;
    try {
        if (mode == u"CUT")
            CopyDietEntry(diet);
        diet.Delete();
        diet.MoveFirst();
    } catch (const DbError&) {
        ShowAppError(kDietDeletePhrase);
        return;
    }
    TreeNode* day = selected->Parent();
    if (day && day->Children() == 1) {
        if (TreeNode* above = day->Previous())
            tvwDiet->selectNode(above);
        tvwDiet->Remove(day);
    } else {
        TreeNode* above = selected->Previous();
        tvwDiet->selectNode(above ? above : day);
        tvwDiet->Remove(selected);
    }
    if (TreeNode* now = tvwDiet->selectedNode())
        tvwDiet_NodeClick(now);
    if (diet.bof() && diet.eof()) {
        if (parts.foodSelection)
            parts.foodSelection->RefreshFoodSelection();
        parts.tvwFood->setFocus();
    } else {
        tvwDiet->setFocus();
    }
}

void DietLog::DeleteDietDay(const QDate& day) {
    if (MsgBox(QStringLiteral("Are you sure you want to Delete all Diet Data for ") +
                   day.toString(QStringLiteral("MM/dd/yyyy")) + u'?',
               vbYesNo, QStringLiteral("Forkwise")) != vbYes)
        return;
    Hourglass busy;
    // A checked copy of the log first; without one nothing is deleted.
    if (!SnapshotOrExplain(gDataSource->appDB, SnapshotMoment::BeforeDeletion))
        return;
    gDataSource->cmdDeleteDietItems(day, day, gCurrentUser);
    if (TreeNode* selected = tvwDiet->selectedNode())
        tvwDiet->Remove(selected);
    ReloadDietLog(false);
}

void DietLog::CopyDietEntry(Recordset& rs) {
    state.DietClip = DietClipRecord::read(rs);
    parts.enable({Command::Paste}, true);
    state.DietClipValid = true;
}

void DietLog::PasteDietEntry() {
    TreeNode* selected = tvwDiet->selectedNode();
    if (!selected) {
        ShowAppError(kDietUpdatePhrase);
        return;
    }
    QDate day;
    if (selected->Tag() == kDietItem) {
        day = dateOf(selected->Parent());
    } else {
        day = dateOf(selected);
        if (selected->Children() == 0)
            LoadDietItems(day);
    }
    // A new entry of the copied one's values, on the chosen day.
    DietClipRecord entry = state.DietClip;
    entry.DietId = gDataSource->getTableKey(QStringLiteral("DIETACTIVITY"));
    entry.DietDate = day;
    addEntry(entry);
}
