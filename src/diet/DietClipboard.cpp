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
        ShowAppError(QStringLiteral("Unable to Delete Diet Data.  "));
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
    if (gDataSource->closed())
        return; // reported; the window is closing
    if (TreeNode* selected = tvwDiet->selectedNode())
        tvwDiet->Remove(selected);
    ReloadDietLog(false);
}

void DietLog::CopyDietEntry(Recordset& rs) {
    const auto text = [&](const char* c) { return rs.Fields(QString::fromLatin1(c)).toString(); };
    const auto whole = [&](const char* c) {
        return long(rs.Fields(QString::fromLatin1(c)).toLongLong());
    };
    DietClipRecord clip;
    clip.NumServings = rs.Fields(QStringLiteral("NumServings")).toDouble();
    clip.DietDate = rs.Fields(QStringLiteral("DietDate")).toDate();
    clip.FoodName = text("FoodName");
    clip.GroupName = text("GroupName");
    clip.DietId = whole("DietId");
    clip.ServingSize = text("ServingSize");
    clip.values = Nutrients::read(rs);
    clip.USDA_GM_WT = rs.Fields(QStringLiteral("USDA_GM_WT")).toDouble();
    clip.USDA_MSRE_NO = whole("USDA_MSRE_NO");
    clip.USDA_NDB_NO = whole("USDA_NDB_NO");
    state.DietClip = clip;
    parts.enable({Command::Paste}, true);
    state.DietClipValid = true;
}

void DietLog::PasteDietEntry() {
    Recordset* diet = gDataSource->rscmdDietData.get();
    try {
        TreeNode* selected = tvwDiet->selectedNode();
        if (!selected)
            throw DbError("No day to paste onto.");
        QDate day;
        if (selected->Tag() == kDietItem) {
            day = dateOf(selected->Parent());
        } else {
            day = dateOf(selected);
            if (selected->Children() == 0) {
                LoadDietItems(day);
                if (gDataSource->closed())
                    return; // reported; the window is closing
            }
        }
        const long id = gDataSource->getTableKey(QStringLiteral("DIETACTIVITY"));
        if (id == 0)
            return; // reported; the window is closing
        const DietClipRecord& c = state.DietClip;
        diet->AddNew();
        diet->setField(QStringLiteral("DietId"), qlonglong(id));
        diet->setField(QStringLiteral("DietDate"), day);
        diet->setField(QStringLiteral("FoodName"), c.FoodName);
        diet->setField(QStringLiteral("GroupName"), c.GroupName);
        diet->setField(QStringLiteral("ServingSize"), c.ServingSize);
        c.values.write(*diet);
        diet->setField(QStringLiteral("USDA_GM_WT"), c.USDA_GM_WT);
        diet->setField(QStringLiteral("USDA_MSRE_NO"), qlonglong(c.USDA_MSRE_NO));
        diet->setField(QStringLiteral("USDA_NDB_NO"), qlonglong(c.USDA_NDB_NO));
        diet->setField(QStringLiteral("NumServings"), c.NumServings);
        diet->setField(QStringLiteral("UserName"), gCurrentUser);
        diet->Update();
        diet->setBookmark(diet->LastModified());
    } catch (const DbError&) {
        if (diet && diet->isOpen() && diet->editMode() != Recordset::EditMode::None)
            diet->CancelUpdate();
        ShowAppError(QStringLiteral("Unable to update Diet Data.  "));
        return;
    }
    AddDietNode(*diet, kDietItem, false);
}
