#include "frmRestore.h"

#include "Config.h"
#include "Module1.h"
#include "Restore.h"
#include "Seams.h"
#include "Snapshot.h"
#include "clsFWSDataSource.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kUsers = 4;
constexpr int kPathRole = Qt::UserRole;

QString userItem(int i) {
    return QStringLiteral("USER") + QString::number(i + 1);
}
} // namespace

void frmRestore::fillList() {
    QStringList users;
    for (int i = 0; i < kUsers; ++i)
        users << userItem(i);
    const QLocale locale;
    const QList<BackupInfo> backups = listBackups(gDBPath);
    QStringList paths;
    for (const BackupInfo& backup : backups)
        paths << backup.path;
    // Only the header and layout are checked here; the chosen copy's pages are checked when it
    // is restored. A file that fails says why where its counts would be.
    const QList<CopySummary> summaries = summarizeBackups(paths, users);
    for (qsizetype n = 0; n < backups.size(); ++n) {
        const BackupInfo& backup = backups[n];
        const CopySummary& summary = summaries[n];
        QStringList cells = {locale.toString(backup.taken, QLocale::ShortFormat),
                             locale.formattedDataSize(backup.size)};
        if (summary.fault != CopyFault::None)
            cells << copyFaultText(summary.fault);
        else
            for (int i = 0; i < kUsers; ++i)
                cells << (summary.counted ? locale.toString(summary.counts[i])
                                          : QStringLiteral("?"));
        auto* row = new QTreeWidgetItem(lstBackups, cells);
        row->setData(0, kPathRole, backup.path);
        for (int c = 1; c < cells.size(); ++c)
            row->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        if (summary.fault != CopyFault::None)
            row->setFlags(Qt::NoItemFlags);
        else if (!lstBackups->currentItem())
            lstBackups->setCurrentItem(row);
    }
}

frmRestore::frmRestore(QWidget* parent) : ModalDialog(parent) {
    setObjectName(QStringLiteral("frmRestore"));
    setWindowTitle(QStringLiteral("Restore Backup"));
    auto* layout = new QVBoxLayout(this);
    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);
    layout->addWidget(lblInfo);

    lstBackups = new QTreeWidget(this);
    lstBackups->setObjectName(QStringLiteral("lstBackups"));
    lstBackups->setAccessibleName(QStringLiteral("Backup copies"));
    lstBackups->setRootIsDecorated(false);
    lstBackups->setSelectionMode(QAbstractItemView::SingleSelection);
    QStringList headers = {QStringLiteral("Taken"), QStringLiteral("Size")};
    for (int i = 0; i < kUsers; ++i)
        headers << GetConfigValue(userItem(i));
    lstBackups->setHeaderLabels(headers);
    fillList();
    lstBackups->header()->resizeSections(QHeaderView::ResizeToContents);
    layout->addWidget(lstBackups);

    cmdRestore = new QPushButton(QStringLiteral("Restore"), this);
    cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdRestore, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    connect(cmdRestore, &QPushButton::clicked, this, &frmRestore::cmdRestore_Click);
    connect(cmdCancel, &QPushButton::clicked, this,
            [this] { closeWith(QStringLiteral("CANCEL")); });

    if (lstBackups->topLevelItemCount() == 0) {
        lblInfo->setText(QStringLiteral("There are no backup copies of the diet log yet."));
        lstBackups->setEnabled(false);
    } else {
        lblInfo->setText(QStringLiteral("Choose the backup copy to restore. The diet log as it is "
                                        "now is kept as a backup copy first."));
    }
    // Only a copy that can be restored can be chosen.
    cmdRestore->setEnabled(lstBackups->currentItem() != nullptr);
    resize(560, 320);
}

QString frmRestore::chosenPath() const {
    const QTreeWidgetItem* row = lstBackups->currentItem();
    return row ? row->data(0, kPathRole).toString() : QString();
}

void frmRestore::cmdRestore_Click() {
    const QTreeWidgetItem* row = lstBackups->currentItem();
    if (!row || !(row->flags() & Qt::ItemIsEnabled))
        return;
    if (MsgBox(
            QStringLiteral("Replace the diet log with the backup copy taken %1?").arg(row->text(0)),
            vbYesNo | vbQuestion, QStringLiteral("Restore Backup")) == vbYes)
        closeWith(QStringLiteral("OK"));
}

bool restoreBackup(QWidget* parent) {
    frmRestore dlg(parent);
    if (dlg.run() != u"OK")
        return false;
    const QString path = dlg.chosenPath();
    Hourglass busy;
    bool closedSets = false;
    // The present state is surely kept, even when a copy of it exists already.
    const RestoreResult result = restoreFromCopy(gDataSource->appDB, path, true, [&] {
        gDataSource->closeResultSets();
        closedSets = true;
    });
    if (result.snapshotFailed)
        MsgBox(snapshotFailureText(SnapshotMoment::BeforeRestore, result.reason), vbExclamation);
    else if (!result.reason.isEmpty())
        MsgBox((result.changed
                    ? QStringLiteral("The backup copy %1 was restored, but could not be "
                                     "brought up to date.")
                    : QStringLiteral("The backup copy %1 cannot be restored, so the diet "
                                     "log was left unchanged."))
                       .arg(QDir::toNativeSeparators(path)) +
                   QStringLiteral("\n\n") + result.reason,
               vbExclamation, QStringLiteral("Restore Backup"));
    return closedSets;
}
