#include "frmFind.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmFind::frmFind(QWidget* parent) : ModalDialog(parent) {
    setObjectName(QStringLiteral("frmFind"));
    setWindowTitle(QStringLiteral("Find Food"));
    auto* layout = new QVBoxLayout(this);
    auto* what = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("Find What:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtFindName = new QLineEdit(this);
    txtFindName->setObjectName(QStringLiteral("txtFindName"));
    txtFindName->setAccessibleName(QStringLiteral("Find What"));
    Label1->setBuddy(txtFindName);
    what->addWidget(Label1);
    what->addWidget(txtFindName, 1);
    layout->addLayout(what);

    Frame1 = new QGroupBox(QStringLiteral("Search"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* options = new QVBoxLayout(Frame1);
    optFood = new QRadioButton(QStringLiteral("Search Foods Data"), Frame1);
    optFood->setObjectName(QStringLiteral("optFood"));
    optFood->setChecked(true);
    optDiet = new QRadioButton(QStringLiteral("Search Diet Data"), Frame1);
    optDiet->setObjectName(QStringLiteral("optDiet"));
    options->addWidget(optFood);
    options->addWidget(optDiet);
    layout->addWidget(Frame1);

    FindButton = new QPushButton(QStringLiteral("Find &Next"), this);
    FindButton->setObjectName(QStringLiteral("FindButton"));
    FindButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(FindButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(CancelButton, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    // Typing starts the next search from the first row again.
    connect(txtFindName, &QLineEdit::textChanged, this, [this] { blnFindNext = false; });
    connect(FindButton, &QPushButton::clicked, this, &frmFind::FindButton_Click);
    connect(CancelButton, &QPushButton::clicked, this,
            [this] { closeWith(QStringLiteral("CANCEL")); });
}

frmFind::Request frmFind::request() const {
    return {txtFindName->text(), optFood->isChecked(), blnFindNext};
}

void frmFind::Form_Activate() {
    // Opening the dialog again on the last text continues after the current row.
    if (!txtFindName->text().trimmed().isEmpty()) {
        txtFindName->selectAll();
        blnFindNext = true;
    } else {
        blnFindNext = false;
    }
    blnFoodsel = optFood->isChecked();
    txtFindName->setFocus();
}

void frmFind::FindButton_Click() {
    // Switching between foods and diet entries starts from the first row again.
    if (optFood->isChecked() != blnFoodsel)
        blnFindNext = false;
    closeWith(QStringLiteral("FIND"));
}
