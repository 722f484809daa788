// Edit > Find and Find Next: a walk through the rows of the foods' or the current user's diet
// entries' result set in its order; the tree is then brought to the row found.
#include "frmMain.h"

#include "DietLog.h"
#include "FoodCatalog.h"
#include "Module1.h"
#include "Seams.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "frmFind.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>

void frmMain::mnuEditFindEntry_Click() {
    FindEntry(false);
}

void frmMain::mnuEditFindNext_Click() {
    FindEntry(true);
}

void frmMain::FindEntry(bool blnNext) {
    if (!blnNext)
        FindDialog->Show();
    QApplication::processEvents();
    if (FindDialog->closeMode() != u"FIND" && !blnNext)
        return;
    Hourglass busy;
    const bool foods = FindDialog->optFood->isChecked();
    FindTarget& target = foods ? static_cast<FindTarget&>(*food) : *diet;
    Recordset* rows = target.findRows();
    if (!rows)
        return;
    // The text goes in as typed: pattern characters keep their meaning, and what is no pattern
    // (an unclosed "[") is plain text.
    const Criterion criterion =
        Criterion::like(QStringLiteral("FoodName"), u'*' + FindDialog->txtFindName->text() + u'*');
    const bool more = FindDialog->blnFindNext || blnNext;
    try {
        bool found = false;
        if (rows->RecordCount() > 0) {
            if (!more || !rows->hasCurrentRow())
                rows->MoveFirst();
            found = more ? rows->FindNextWrapping(criterion) : rows->FindFirst(criterion);
        }
        if (found) {
            target.ShowFoundRow();
        } else {
            MsgBox(QStringLiteral("No Matching Food entry found"), vbOKOnly,
                   QStringLiteral("Forkwise"));
            // The selected food or entry is the current row again, for the next search.
            target.RestoreFoundRow();
            target.findTree()->setFocus();
        }
    } catch (const DbError&) {
        gDataSource->reportFailure(foods ? kFoodPhrase : kDietPhrase);
    }
    QApplication::processEvents();
}
