#include "frmDailyTargets.h"

#include "LineLimit.h"
#include "Module1.h"
#include "NumberText.h"
#include "Seams.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
struct Row {
    const char* column; // the nutrient's column
    const char* name;   // the box's name
    const char* caption;
};
// The order of the totals window.
const Row kRows[Nutrients::Count] = {
    {"Fat", "txtFat", "Fat"},
    {"Carbohydrate", "txtCarb", "Carbohydrates"},
    {"Protein", "txtProtein", "Protein"},
    {"Calorie", "txtCalorie", "Calories"},
    {"Cholesterol", "txtCholesterol", "Cholesterol"},
    {"Sodium", "txtSodium", "Sodium"},
    {"Other1", "txtOther1", nullptr},
    {"Other2", "txtOther2", nullptr},
};
} // namespace

frmDailyTargets::frmDailyTargets(QWidget* parent) : ModalDialog(parent) {
    setObjectName(QStringLiteral("frmDailyTargets"));
    setWindowTitle(QStringLiteral("Daily Targets"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int i = 0; i < Nutrients::Count; ++i) {
        const Row& row = kRows[i];
        QLabel*& label = lblTarget[size_t(i)];
        QLineEdit*& box = txtTarget[size_t(i)];
        label = new QLabel(QString::fromLatin1(row.caption), this);
        label->setObjectName(QStringLiteral("lbl") + QString::fromLatin1(row.name).mid(3));
        box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(row.name));
        LimitLength(box, 20);
        label->setBuddy(box); // a screen reader names each box by its label
        grid->addWidget(label, i, 0);
        grid->addWidget(box, i, 1);
    }
    layout->addLayout(grid);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmDailyTargets::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this,
            [this] { closeWith(QStringLiteral("CANCEL")); });
}

void frmDailyTargets::Form_Load(const QString& user) {
    lblTarget[6]->setText(OptionalNutrientName(1));
    lblTarget[7]->setText(OptionalNutrientName(2));
    const DailyTargets targets = DailyTargets::load(user);
    for (int i = 0; i < Nutrients::Count; ++i) {
        const auto target = targets.value(QString::fromLatin1(kRows[i].column));
        // Shown so that reading the box back gives the same number.
        txtTarget[size_t(i)]->setText(target ? ServingsText(*target) : QString());
    }
}

DailyTargets frmDailyTargets::targets() const {
    DailyTargets targets;
    for (int i = 0; i < Nutrients::Count; ++i) {
        double v = 0;
        if (ParseNumber(txtTarget[size_t(i)]->text(), &v))
            targets.set(QString::fromLatin1(kRows[i].column), v);
    }
    return targets;
}

void frmDailyTargets::cmdOK_Click() {
    for (int i = 0; i < Nutrients::Count; ++i) {
        QLineEdit* box = txtTarget[size_t(i)];
        double v = 0;
        if (box->text().trimmed().isEmpty() || (ParseNumber(box->text(), &v) && v > 0))
            continue;
        MsgBox(lblTarget[size_t(i)]->text() +
                   QStringLiteral(" must be a positive number, or blank for no target."),
               vbExclamation | vbOKOnly, QStringLiteral("Forkwise"));
        box->setFocus();
        box->selectAll();
        return;
    }
    closeWith(QStringLiteral("OK"));
}

bool ShowDailyTargets(QWidget* parent) {
    frmDailyTargets dlg(parent);
    dlg.Form_Load(gCurrentUser);
    // A save that failed has shown why; the dialog comes back as it was filled in.
    while (dlg.run() == u"OK")
        if (SaveDailyTargets(gCurrentUser, dlg.targets()))
            return true;
    return false;
}
