// Deleting diet entries and whole days, and cutting, copying and pasting entries between days.
#include "DietNodes.h"
#include "Module1.h"
#include "Seams.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "frmMain.h"

namespace {

void failure(const char* phrase) {
    MsgBox(QString::fromLatin1(phrase) + gSupportMsg, vbCritical | vbOKOnly,
           QStringLiteral("Application Error"));
}
} // namespace

void frmMain::DeleteSelected() {
    if (strActiveTree == u"FOODS") {
        // Deleting foods and groups comes with the food catalogue's editing commands.
        return;
    }
    if (strActiveTree != u"DIET")
        return;
    const TreeNode* selected = tvwDiet->selectedNode();
    if (!selected)
        return;
    if (selected->Tag() == kDietItem)
        DeleteDietEntry(QStringLiteral("DELETE"));
    else
        DeleteDietDay(dateOf(selected));
}

void frmMain::DeleteDietEntry(const QString& mode) {
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
        failure("Unable to Delete Diet Data.  ");
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
        if (TreeNode* food = tvwFood->selectedNode())
            tvwFood_NodeClick(food);
        tvwFood->setFocus();
    } else {
        tvwDiet->setFocus();
    }
}

void frmMain::DeleteDietDay(const QDate& day) {
    if (MsgBox(QStringLiteral("Are you sure you want to Delete all Diet Data for ") +
                   day.toString(QStringLiteral("MM/dd/yyyy")) + u'?',
               vbYesNo, QStringLiteral("Forkwise")) != vbYes)
        return;
    Hourglass busy;
    gDataSource->cmdDeleteDietItems(day, day, gCurrentUser);
    if (!gDataSource->appDB.isOpen())
        return; // reported; the window is closing
    if (TreeNode* selected = tvwDiet->selectedNode())
        tvwDiet->Remove(selected);
    if (gDataSource->rscmdDietData)
        gDataSource->rscmdDietData->Close();
    gDataSource->cmdDietData(gCurrentUser);
}

void frmMain::CopyDietEntry(Recordset& rs) {
    const auto text = [&](const char* c) { return rs.Fields(QString::fromLatin1(c)).toString(); };
    const auto whole = [&](const char* c) {
        return long(rs.Fields(QString::fromLatin1(c)).toLongLong());
    };
    const auto value = [&](const char* c) { return rs.Fields(QString::fromLatin1(c)); };
    DietClipRecord clip;
    clip.NumServings = rs.Fields(QStringLiteral("NumServings")).toDouble();
    clip.DietDate = rs.Fields(QStringLiteral("DietDate")).toDate();
    clip.FoodName = text("FoodName");
    clip.GroupName = text("GroupName");
    clip.DietId = whole("DietId");
    clip.ServingSize = text("ServingSize");
    clip.Fat = value("Fat");
    clip.Carbohydrate = value("Carbohydrate");
    clip.Protein = value("Protein");
    clip.Calorie = value("Calorie");
    clip.Sodium = value("Sodium");
    clip.Cholesterol = value("Cholesterol");
    clip.Other1 = value("Other1");
    clip.Other2 = value("Other2");
    clip.USDA_GM_WT = whole("USDA_GM_WT");
    clip.USDA_MSRE_NO = whole("USDA_MSRE_NO");
    clip.USDA_NDB_NO = whole("USDA_NDB_NO");
    DietClip = clip;
    enable({"mnuEditPaste", "mnuPop_RTB_Paste", "Paste"}, true);
    DietClipValid = true;
}

void frmMain::PasteDietEntry() {
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
            if (selected->Children() == 0)
                LoadDietItems(day);
        }
        const long id = gDataSource->getTableKey(QStringLiteral("DIETACTIVITY"));
        if (id == 0)
            return; // reported; the window is closing
        const DietClipRecord& c = DietClip;
        diet->AddNew();
        diet->setField(QStringLiteral("DietId"), qlonglong(id));
        diet->setField(QStringLiteral("DietDate"), day);
        diet->setField(QStringLiteral("FoodName"), c.FoodName);
        diet->setField(QStringLiteral("GroupName"), c.GroupName);
        diet->setField(QStringLiteral("ServingSize"), c.ServingSize);
        diet->setField(QStringLiteral("Fat"), c.Fat);
        diet->setField(QStringLiteral("Protein"), c.Protein);
        diet->setField(QStringLiteral("Carbohydrate"), c.Carbohydrate);
        diet->setField(QStringLiteral("Calorie"), c.Calorie);
        diet->setField(QStringLiteral("Other1"), c.Other1);
        diet->setField(QStringLiteral("Other2"), c.Other2);
        diet->setField(QStringLiteral("USDA_GM_WT"), qlonglong(c.USDA_GM_WT));
        diet->setField(QStringLiteral("USDA_MSRE_NO"), qlonglong(c.USDA_MSRE_NO));
        diet->setField(QStringLiteral("USDA_NDB_NO"), qlonglong(c.USDA_NDB_NO));
        diet->setField(QStringLiteral("Sodium"), c.Sodium);
        diet->setField(QStringLiteral("Cholesterol"), c.Cholesterol);
        diet->setField(QStringLiteral("NumServings"), c.NumServings);
        diet->setField(QStringLiteral("UserName"), gCurrentUser);
        diet->Update();
        diet->setBookmark(diet->LastModified());
    } catch (const DbError&) {
        if (diet && diet->isOpen() && diet->editMode() != Recordset::EditMode::None)
            diet->CancelUpdate();
        failure("Unable to update Diet Data.  ");
        return;
    }
    AddDietNode(*diet, kDietItem, false);
}
