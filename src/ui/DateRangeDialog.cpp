#include "DateRangeDialog.h"

#include "Seams.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

DateRangeDialog::DateRangeDialog(QWidget* parent, const QString& objectName, const QString& title,
                                 const QString& prompt)
    : ModalDialog(parent) {
    setObjectName(objectName);
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(prompt, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(Label1);
    // Ranges are compared by date, so the pickers carry no time of day.
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
    connect(CancelButton, &QPushButton::clicked, this,
            [this] { closeWith(QStringLiteral("CANCEL")); });
}

std::pair<QDate, QDate> DateRangeDialog::range() const {
    return {dtLoDate->date(), dtHighDate->date()};
}
