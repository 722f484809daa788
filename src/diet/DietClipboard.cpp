// Deleting diet entries and whole days, and cutting, copying and pasting entries, or all of a
// day's, between days.
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
    if (const TreeNode* selected = tvwDiet->selectedNode();
        selected && selected->Tag() == kDietDay) {
        CopyDietDay(dateOf(selected));
        return;
    }
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
    holdInDietClip({DietClipRecord::read(rs)});
}

void DietLog::CopyDietDay(const QDate& day) {
    // Read from the log rather than the tree: the day may never have been opened.
    gDataSource->cmdDietItems(day, gCurrentUser);
    Recordset& items = *gDataSource->rscmdDietItems;
    std::vector<DietClipRecord> entries;
    for (; !items.eof(); items.MoveNext())
        entries.push_back(DietClipRecord::read(items));
    items.Close();
    if (!entries.empty())
        holdInDietClip(std::move(entries));
}

void DietLog::holdInDietClip(std::vector<DietClipRecord> entries) {
    state.DietClip = std::move(entries);
    parts.enable({Command::Paste}, true);
    state.DietClipValid = true;
}

bool DietLog::dayHasEntries(const TreeNode* day) const {
    if (day->Children() > 0)
        return true;
    const QDate d = dateOf(day);
    return gDataSource->cmdCountDietItems(d, d, gCurrentUser) > 0;
}

void DietLog::PasteDietEntry() {
    TreeNode* selected = tvwDiet->selectedNode();
    if (!selected || state.DietClip.empty()) {
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
    // New entries of the copied ones' values, on the chosen day.
    std::vector<DietClipRecord> entries = state.DietClip;
    for (DietClipRecord& entry : entries)
        entry.DietDate = day;
    if (addEntries(std::move(entries)))
        if (TreeNode* first = tvwDiet->selectedNode())
            tvwDiet_NodeClick(first);
}
