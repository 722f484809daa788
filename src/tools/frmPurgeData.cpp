#include "frmPurgeData.h"

#include "Config.h"
#include "Module1.h"
#include "Seams.h"
#include "Snapshot.h"
#include "clsFWSDataSource.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

frmPurgeData::frmPurgeData(QWidget* parent) : ModalDialog(parent) {
    setObjectName(QStringLiteral("frmPurgeData"));
    setWindowTitle(QStringLiteral("Purge Diet Activity Data"));
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Purge Diet Data for the following Date Range"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    layout->addWidget(Label1);
    const auto picker = [&](QDateEdit*& edit, const char* name, const QString& accessibleName) {
        edit = new QDateEdit(Clock::today(), this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAccessibleName(accessibleName);
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
        layout->addWidget(edit);
    };
    picker(dtLoDate, "dtLoDate", QStringLiteral("First date"));
    picker(dtHighDate, "dtHighDate", QStringLiteral("Last date"));
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    layout->addWidget(Line1);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(OKButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(CancelButton, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(OKButton, &QPushButton::clicked, this, &frmPurgeData::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this,
            [this] { closeWith(QStringLiteral("CANCEL")); });
}

void frmPurgeData::OKButton_Click() {
    const QDate lo = dtLoDate->date(), hi = dtHighDate->date();
    if (lo > hi) {
        MsgBox(QStringLiteral("The First Date must be less than or equal to the Second Date."),
               vbOKOnly, QStringLiteral("Forkwise"));
        return;
    }
    // How many entries go, counted before asking: a purge cannot be undone in the program.
    const qint64 count = gDataSource->cmdCountDietItems(lo, hi, gCurrentUser);
    if (count < 0) {
        closeWith(QStringLiteral("CANCEL")); // reported; the window is closing
        return;
    }
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

bool PurgeDietData(QWidget* parent) {
    frmPurgeData dlg(parent);
    if (dlg.run() != u"OK")
        return false;
    Hourglass busy;
    // A checked copy of the log first; without one nothing is deleted.
    if (!SnapshotOrExplain(gDataSource->appDB, SnapshotMoment::BeforeDeletion))
        return false;
    // One statement: the whole range goes, or nothing does.
    gDataSource->cmdDeleteDietItems(dlg.dtLoDate->date(), dlg.dtHighDate->date(), gCurrentUser);
    return !gDataSource->closed();
}
