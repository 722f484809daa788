#include "dlgServings.h"

#include "Module1.h"
#include "Seams.h"
#include "clsFWSDataSource.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

bool ParseServings(const QString& text, double* value) {
    const QString t = text.trimmed();
    bool ok = false;
    double v = t.toDouble(&ok);
    if (!ok)
        v = QLocale().toDouble(t, &ok);
    if (ok && value)
        *value = v;
    return ok;
}

dlgServings::dlgServings(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgServings"));
    setWindowTitle(QStringLiteral("Diet Information"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Number of Servings"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    cmbServings = new QComboBox(this);
    cmbServings->setObjectName(QStringLiteral("cmbServings"));
    cmbServings->setEditable(true);
    cmbServings->setInsertPolicy(QComboBox::NoInsert);
    Label3 = new QLabel(QStringLiteral("Serving Size"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    cmbServSize = new QComboBox(this);
    cmbServSize->setObjectName(QStringLiteral("cmbServSize"));
    cmbServSize->setMinimumContentsLength(24);
    rbPreffered = new QRadioButton(QStringLiteral("Mark Preferred"), this);
    rbPreffered->setObjectName(QStringLiteral("rbPreffered"));
    rbPreffered->setAutoExclusive(false); // a lone option the user can switch back off
    Label2 = new QLabel(QStringLiteral("Date"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    DTDate = new QDateEdit(this);
    DTDate->setObjectName(QStringLiteral("DTDate"));
    DTDate->setCalendarPopup(true);
    DTDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    txtCloseMode = new QLineEdit(this);
    txtCloseMode->setObjectName(QStringLiteral("txtCloseMode"));
    txtCloseMode->hide();

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(cmbServings, 0, 1);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(cmbServSize, 1, 1);
    grid->addWidget(rbPreffered, 2, 1);
    grid->addWidget(Label2, 3, 0);
    grid->addWidget(DTDate, 3, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(OKButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(CancelButton, QDialogButtonBox::RejectRole);
    grid->addWidget(buttons, 4, 0, 1, 2);

    connect(OKButton, &QPushButton::clicked, this, &dlgServings::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &dlgServings::CancelButton_Click);
}

void dlgServings::Form_Load() {
    double servings = 0;
    for (int i = 0; i < 39; ++i) {
        servings += 0.25;
        cmbServings->addItem(QString::number(servings, 'f', 2));
    }
    cmbServings->setCurrentIndex(-1);
    cmbServings->setEditText(QStringLiteral("1.00"));
    measureCount = 0;
    if (gDataSource && gDataSource->rscmdMeasures) {
        Recordset& measures = *gDataSource->rscmdMeasures;
        for (; !measures.eof(); measures.MoveNext()) {
            cmbServSize->addItem(measures.Fields(QStringLiteral("MSRE_DESC")).toString());
            ++measureCount;
        }
        if (cmbServSize->count() > 0)
            measures.MoveFirst();
    }
    cmbServSize->setCurrentIndex(-1);
}

void dlgServings::lockServingSize(const QString& text) {
    // An editable, read-only combo shows the food's own serving text and takes no other.
    cmbServSize->clear();
    cmbServSize->setEditable(true);
    cmbServSize->setEditText(text);
    cmbServSize->lineEdit()->setReadOnly(true);
    cmbServSize->setCurrentIndex(-1);
    cmbServSize->setEditText(text);
}

bool dlgServings::ValidateEntry() {
    if (!ParseServings(cmbServings->currentText(), nullptr)) {
        MsgBox(QStringLiteral("Number of Servings must be numeric."), vbExclamation | vbOKOnly,
               QStringLiteral("Forkwise"));
        return false;
    }
    if (!DTDate->date().isValid()) {
        MsgBox(QStringLiteral("Date Field must be a valid Date value."), vbExclamation | vbOKOnly,
               QStringLiteral("Forkwise"));
        return false;
    }
    const bool measuresLeft = gDataSource && gDataSource->rscmdMeasures &&
                              gDataSource->rscmdMeasures->isOpen() &&
                              !gDataSource->rscmdMeasures->eof();
    if (measuresLeft && cmbServSize->currentIndex() < 0) {
        MsgBox(QStringLiteral("You must select an existing Serving Size."),
               vbExclamation | vbOKOnly, QStringLiteral("Forkwise"));
        return false;
    }
    return true;
}

void dlgServings::OKButton_Click() {
    if (!ValidateEntry())
        return;
    txtCloseMode->setText(QStringLiteral("OK"));
    accept();
}

void dlgServings::CancelButton_Click() {
    txtCloseMode->setText(QStringLiteral("CANCEL"));
    QDialog::reject();
}

void dlgServings::reject() {
    // Escape and the close box count as Cancel.
    if (txtCloseMode->text().trimmed().isEmpty())
        txtCloseMode->setText(QStringLiteral("CANCEL"));
    QDialog::reject();
}

void dlgServings::closeEvent(QCloseEvent* event) {
    if (txtCloseMode->text().trimmed().isEmpty())
        txtCloseMode->setText(QStringLiteral("CANCEL"));
    QDialog::closeEvent(event);
}
