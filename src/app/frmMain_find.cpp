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

void frmMain::mnuEditFindEntry_Click() {
    FindEntry(false);
}

void frmMain::mnuEditFindNext_Click() {
    FindEntry(true);
}

void frmMain::FindEntry(bool blnNext) {
    if (!blnNext) {
        FindDialog->Form_Activate();
        if (FindDialog->run() != u"FIND")
            return;
        // The dialog leaves the screen before the search, which may take a moment.
        QApplication::processEvents();
    }
    Hourglass busy;
    const frmFind::Request request = FindDialog->request();
    const bool foods = request.foods;
    FindTarget& target = foods ? static_cast<FindTarget&>(*food) : *diet;
    Recordset* rows = target.findRows();
    if (!rows)
        return;
    // The text goes in as typed: pattern characters keep their meaning, and what is no pattern
    // (an unclosed "[") is plain text.
    const Criterion criterion =
        Criterion::like(QStringLiteral("FoodName"), u'*' + request.text + u'*');
    const bool more = request.next || blnNext;
    try {
        bool found = false;
        if (rows->RecordCount() > 0) {
            if (!more || !rows->hasCurrentRow())
                rows->MoveFirst();
            found = more ? rows->findNextWrapping(criterion) : rows->FindFirst(criterion);
        }
        if (found) {
            target.showFoundRow();
        } else {
            MsgBox(QStringLiteral("No Matching Food entry found"), vbOKOnly,
                   QStringLiteral("Forkwise"));
            // The selected food or entry is the current row again, for the next search.
            target.restoreFoundRow();
            target.findTree()->setFocus();
        }
    } catch (const DbError&) {
        gDataSource->reportFailure(foods ? kFoodPhrase : kDietPhrase);
    }
}
