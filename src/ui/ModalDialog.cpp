#include "ModalDialog.h"

#include "ShowModal.h"

#include <QCloseEvent>
#include <QLineEdit>

ModalDialog::ModalDialog(QWidget* parent) : QDialog(parent) {
    setModal(true);
    txtCloseMode = new QLineEdit(this);
    txtCloseMode->setObjectName(QStringLiteral("txtCloseMode"));
    txtCloseMode->hide();
}

QString ModalDialog::run() {
    txtCloseMode->clear();
    ShowModal(*this);
    return closeMode();
}

QString ModalDialog::closeMode() const {
    const QString mode = txtCloseMode->text().trimmed();
    return mode.isEmpty() ? QStringLiteral("CANCEL") : mode;
}

void ModalDialog::closeWith(const QString& mode) {
    txtCloseMode->setText(mode);
    if (mode == u"CANCEL")
        QDialog::reject();
    else
        accept();
}

void ModalDialog::reject() {
    if (txtCloseMode->text().trimmed().isEmpty())
        txtCloseMode->setText(QStringLiteral("CANCEL"));
    QDialog::reject();
}

void ModalDialog::closeEvent(QCloseEvent* event) {
    if (txtCloseMode->text().trimmed().isEmpty())
        txtCloseMode->setText(QStringLiteral("CANCEL"));
    QDialog::closeEvent(event);
}
