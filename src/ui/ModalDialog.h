#pragma once
// The pattern every modal dialog of the program follows: the caller prepares the dialog, runs
// it, and reads its controls back. The dialog's buttons record how it was left in txtCloseMode
// ("OK", "SAVE", "FIND", or "CANCEL") and hide it; Escape and the close box count as Cancel.
#include <QDialog>

class QLineEdit;

class ModalDialog : public QDialog {
    Q_OBJECT
public:
    explicit ModalDialog(QWidget* parent = nullptr);

    // Shows the dialog modally (through ShowModal, so tests can answer it) and returns how it
    // was left.
    QString run();
    QString closeMode() const;

    QLineEdit* txtCloseMode = nullptr;

protected:
    // Records how the dialog was left and hides it: accepted for any mode but "CANCEL".
    void closeWith(const QString& mode);
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
};
