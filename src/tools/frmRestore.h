#pragma once
// "Restore Backup": the copies of the diet log, newest first, with when each was taken, its size
// and each user's number of diet entries, or why it cannot be restored; the chosen one is
// confirmed before the dialog closes with "OK".
#include "ModalDialog.h"

#include <QList>

class QLabel;
class QPushButton;
class QTreeWidget;

class frmRestore : public ModalDialog {
    Q_OBJECT
public:
    explicit frmRestore(QWidget* parent = nullptr);

    // The copy chosen, once the dialog was left with "OK".
    QString chosenPath() const;

    QLabel* lblInfo = nullptr;
    QTreeWidget* lstBackups = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void fillList();
    void cmdRestore_Click();
};

// File > Restore Backup...: lets the user choose a copy and replaces the log with it, after a
// checked copy of the present state. True when the result sets were closed for the restore
// (whether or not it succeeded): the main window is then to open them again and reload both
// trees.
bool restoreBackup(QWidget* parent);
