#include "frmPurgeData.h"

#include "CommandBoundary.h"
#include "Config.h"
#include "Module1.h"
#include "Seams.h"
#include "Snapshot.h"
#include "clsFWSDataSource.h"

#include <QDateEdit>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

frmPurgeData::frmPurgeData(QWidget* parent)
    : DateRangeDialog(parent, QStringLiteral("frmPurgeData"),
                      QStringLiteral("Purge Diet Activity Data"),
                      QStringLiteral("Purge Diet Data for the following Date Range")) {
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    // Counting the entries of the range reads the log: a failure there ends the run.
    connect(OKButton, &QPushButton::clicked, this,
            [this] { guarded(*this, [this] { OKButton_Click(); }); });
}

void frmPurgeData::OKButton_Click() {
    const auto [lo, hi] = range();
    if (lo > hi) {
        MsgBox(QStringLiteral("The First Date must be less than or equal to the Second Date."),
               vbOKOnly, QStringLiteral("Forkwise"));
        return;
    }
    // How many entries go, counted before asking: a purge cannot be undone in the program.
    const qint64 count = gDataSource->cmdCountDietItems(lo, hi, gCurrentUser);
    const QString format = QStringLiteral("MM/dd/yyyy");
    const QString howMany =
        QStringLiteral("%1 %2 of %3 will be deleted.")
            .arg(QLocale(QLocale::English).toString(count),
                 count == 1 ? QStringLiteral("entry") : QStringLiteral("entries"),
                 GetConfigValue(gCurrentUser));
    if (MsgBox(QStringLiteral("Are you sure you want to Delete all Diet Activity Data from ") +
                   lo.toString(format) + QStringLiteral(" to ") + hi.toString(format) +
                   QStringLiteral("?\n\n") + howMany,
               vbYesNo, QStringLiteral("Delete Confirmation")) == vbYes)
        closeWith(QStringLiteral("OK"));
}

bool purgeDietData(QWidget* parent) {
    frmPurgeData dlg(parent);
    if (dlg.run() != u"OK")
        return false;
    Hourglass busy;
    // A checked copy of the log first; without one nothing is deleted.
    if (!snapshotOrExplain(gDataSource->appDB, SnapshotMoment::BeforeDeletion))
        return false;
    // One statement: the whole range goes, or nothing does.
    const auto [lo, hi] = dlg.range();
    gDataSource->cmdDeleteDietItems(lo, hi, gCurrentUser);
    return true;
}
