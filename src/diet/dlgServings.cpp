#include "dlgServings.h"

#include "Module1.h"
#include "NumberText.h"
#include "Seams.h"
#include "Serving.h"
#include "clsFWSDataSource.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

dlgServings::dlgServings(QWidget* parent) : ModalDialog(parent) {
    setObjectName(QStringLiteral("dlgServings"));
    setWindowTitle(QStringLiteral("Diet Information"));

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
    connect(CancelButton, &QPushButton::clicked, this,
            [this] { closeWith(QStringLiteral("CANCEL")); });
    // The editable list keeps Return to itself, and its completion of a typed number ("2" shows
    // "2.00") would take the first Enter: in the number box Enter presses OK, as elsewhere.
    cmbServings->installEventFilter(this);
    cmbServings->lineEdit()->installEventFilter(this);
}

void dlgServings::Form_Load(const QString& serving, long measureNo, double gramWeight) {
    own.serving = serving;
    own.measureNo = measureNo;
    own.gramWeight = gramWeight;
    double servings = 0;
    for (int i = 0; i < 39; ++i) {
        servings += 0.25;
        cmbServings->addItem(decimalText(servings, 2));
    }
    cmbServings->setCurrentIndex(-1);
    cmbServings->setEditText(decimalText(1, 2));
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
    rbPreffered->setChecked(false);
    if (measureCount > 0) {
        cmbServSize->setCurrentIndex(int(FindMeasureIndex(measureNo)));
        return;
    }
    // Without measures an editable, read-only list shows the own serving text and takes no
    // other; there is nothing to prefer.
    cmbServSize->setEditable(true);
    cmbServSize->lineEdit()->setReadOnly(true);
    cmbServSize->setCurrentIndex(-1);
    cmbServSize->setEditText(serving);
    rbPreffered->hide();
}

void dlgServings::prepareForDrop(const FoodClipRecord& food, const QDate& date) {
    Form_Load(food.ServingSize, food.USDA_MSRE_NO, food.USDA_GM_WT);
    DTDate->setDate(date);
}

void dlgServings::prepareForEdit(const DietClipRecord& entry) {
    Form_Load(entry.ServingSize, entry.USDA_MSRE_NO, entry.USDA_GM_WT);
    cmbServings->setEditText(servingsText(entry.NumServings));
    DTDate->setDate(entry.DietDate);
    rbPreffered->hide();
}

ServingChoice dlgServings::choice() const {
    ServingChoice choice = own;
    parseNumber(cmbServings->currentText(), &choice.servings);
    choice.date = DTDate->date();
    if (measureCount > 0 && cmbServSize->currentIndex() >= 0) {
        FindMeasure(cmbServSize->currentIndex(), 0);
        const Recordset& m = *gDataSource->rscmdMeasures;
        choice.serving = m.Fields(QStringLiteral("MSRE_DESC")).toString();
        choice.measureNo = long(m.Fields(QStringLiteral("MSRE_NO")).toLongLong());
        choice.gramWeight = m.Fields(QStringLiteral("GM_WT")).toDouble();
    }
    choice.preferred =
        rbPreffered->isVisibleTo(this) && rbPreffered->isChecked() && choice.serving != own.serving;
    return choice;
}

bool dlgServings::ValidateEntry() {
    const auto refuse = [](const char* message) {
        MsgBox(QString::fromLatin1(message), vbExclamation | vbOKOnly, QStringLiteral("Forkwise"));
        return false;
    };
    double n = 0;
    if (!parseNumber(cmbServings->currentText(), &n))
        return refuse("Number of Servings must be numeric.");
    // No servings, or fewer than none, would log nothing or take nutrients away.
    if (n <= 0)
        return refuse("Number of Servings must be greater than zero.");
    if (n < kLeastServings || n > kMostServings)
        return refuse("Number of Servings must be between 0.001 and 10,000.");
    if (!DTDate->date().isValid())
        return refuse("Date Field must be a valid Date value.");
    const bool measuresLeft = gDataSource && gDataSource->rscmdMeasures &&
                              gDataSource->rscmdMeasures->isOpen() &&
                              !gDataSource->rscmdMeasures->eof();
    if (measuresLeft && cmbServSize->currentIndex() < 0)
        return refuse("You must select an existing Serving Size.");
    return true;
}

bool dlgServings::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == cmbServings || watched == cmbServings->lineEdit()) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OKButton->click();
            return true;
        }
    }
    return ModalDialog::eventFilter(watched, event);
}

void dlgServings::OKButton_Click() {
    if (ValidateEntry())
        closeWith(QStringLiteral("OK"));
}
