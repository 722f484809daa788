#include "frmOptions.h"

#include "Config.h"
#include "LineLimit.h"
#include "Module1.h"
#include "Seams.h"
#include "TextLimit.h"
#include "clsFWSDataSource.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {
QString userItem(int i) {
    return QStringLiteral("USER") + QString::number(i + 1);
}
} // namespace

frmOptions::frmOptions(QWidget* parent) : ModalDialog(parent) {
    setObjectName(QStringLiteral("frmOptionsDialog"));
    setWindowTitle(QStringLiteral("Configuration Options"));
    auto* layout = new QVBoxLayout(this);
    tabOptions = new QTabBar(this);
    tabOptions->setObjectName(QStringLiteral("tabOptions"));
    tabOptions->addTab(QStringLiteral("Multi User Configuration"));
    tabOptions->setTabToolTip(0, QStringLiteral("Set up user names and select current user"));
    tabOptions->addTab(QStringLiteral("Optional Field Labels"));
    tabOptions->setTabToolTip(1, QStringLiteral("Set labels for optional nutrient fields"));
    layout->addWidget(tabOptions);

    frmUser = new QFrame(this);
    frmUser->setObjectName(QStringLiteral("frmUser"));
    auto* users = new QGridLayout(frmUser);
    auto* current = new QButtonGroup(this); // exactly one user is current
    for (int i = 0; i < 4; ++i) {
        const QString n = QString::number(i);
        lblUser[size_t(i)] = new QLabel(QStringLiteral("User ") + QString::number(i + 1), frmUser);
        lblUser[size_t(i)]->setObjectName(QStringLiteral("lblUser") + n);
        txtUser[size_t(i)] = new QLineEdit(frmUser);
        txtUser[size_t(i)]->setObjectName(QStringLiteral("txtUser") + n);
        limitLength(txtUser[size_t(i)], 40);
        lblUser[size_t(i)]->setBuddy(txtUser[size_t(i)]);
        optUser[size_t(i)] = new QRadioButton(QStringLiteral("Current User"), frmUser);
        optUser[size_t(i)]->setObjectName(QStringLiteral("optUser") + n);
        optUser[size_t(i)]->setAccessibleName(lblUser[size_t(i)]->text() +
                                              QStringLiteral(" is the current user"));
        current->addButton(optUser[size_t(i)], i);
        users->addWidget(lblUser[size_t(i)], i, 0);
        users->addWidget(txtUser[size_t(i)], i, 1);
        users->addWidget(optUser[size_t(i)], i, 2);
    }
    layout->addWidget(frmUser);

    frmOptionsFrame = new QFrame(this);
    frmOptionsFrame->setObjectName(QStringLiteral("frmOptions"));
    auto* labels = new QGridLayout(frmOptionsFrame);
    Label1 = new QLabel(QStringLiteral("Optional Field 1 Label"), frmOptionsFrame);
    Label2 = new QLabel(QStringLiteral("Optional Field 2 Label"), frmOptionsFrame);
    txtOther1 = new QLineEdit(frmOptionsFrame);
    txtOther2 = new QLineEdit(frmOptionsFrame);
    txtOther1->setObjectName(QStringLiteral("txtOther1"));
    txtOther2->setObjectName(QStringLiteral("txtOther2"));
    for (QLineEdit* box : {txtOther1, txtOther2})
        limitLength(box, 10);
    Label1->setBuddy(txtOther1);
    Label2->setBuddy(txtOther2);
    labels->addWidget(Label1, 0, 0);
    labels->addWidget(txtOther1, 0, 1);
    labels->addWidget(Label2, 1, 0);
    labels->addWidget(txtOther2, 1, 1);
    layout->addWidget(frmOptionsFrame);
    frmOptionsFrame->hide();

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdApply = new QPushButton(QStringLiteral("&Apply"), this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    buttons->addButton(cmdApply, QDialogButtonBox::ApplyRole);
    layout->addWidget(buttons);

    connect(tabOptions, &QTabBar::currentChanged, this, &frmOptions::tabOptions_Click);
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        if (validate() && save())
            closeWith(QStringLiteral("OK"));
    });
    connect(cmdApply, &QPushButton::clicked, this, [this] {
        if (validate())
            save();
    });
    connect(cmdCancel, &QPushButton::clicked, this,
            [this] { closeWith(QStringLiteral("CANCEL")); });
}

void frmOptions::Form_Load() {
    blnUserChange = false;
    txtOther1->setText(GetConfigValue(QStringLiteral("OTHER1")));
    txtOther2->setText(GetConfigValue(QStringLiteral("OTHER2")));
    for (int i = 0; i < 4; ++i) {
        txtUser[size_t(i)]->setText(GetConfigValue(userItem(i)));
        optUser[size_t(i)]->setChecked(userItem(i) == gCurrentUser);
    }
    tabOptions->setCurrentIndex(0);
}

void frmOptions::tabOptions_Click(int index) {
    frmUser->setVisible(index == 0);
    frmOptionsFrame->setVisible(index == 1);
}

bool frmOptions::validate() {
    for (const QLineEdit* box :
         {txtOther1, txtOther2, txtUser[0], txtUser[1], txtUser[2], txtUser[3]})
        if (box->text().trimmed().isEmpty()) {
            MsgBox(QStringLiteral("You must enter a value for all Configuration Items"), vbOKOnly,
                   QStringLiteral("Forkwise"));
            return false;
        }
    return true;
}

bool frmOptions::save() {
    // All items or none: a failure part-way leaves the file, the current user and the dialog as
    // they were, with the one message of the failed write.
    const QString userBefore = gCurrentUser;
    const bool changeBefore = blnUserChange;
    Workspace& connDB = gDataSource->connDB;
    try {
        connDB.BeginTrans();
    } catch (const DbError&) {
        showAppError(kConfigUpdatePhrase);
        return false;
    }
    bool ok = SetConfigValue(QStringLiteral("OTHER1"), cutText(txtOther1->text(), 10), false) &&
              SetConfigValue(QStringLiteral("OTHER2"), cutText(txtOther2->text(), 10), false);
    for (int i = 0; ok && i < 4; ++i) {
        const bool selected = optUser[size_t(i)]->isChecked();
        ok = SetConfigValue(userItem(i), txtUser[size_t(i)]->text(), selected);
        if (ok && selected && gCurrentUser != userItem(i)) {
            gCurrentUser = userItem(i);
            blnUserChange = true;
        }
    }
    try {
        if (ok)
            connDB.CommitTrans();
    } catch (const DbError&) {
        showAppError(kConfigUpdatePhrase);
        ok = false;
    }
    if (!ok) {
        connDB.Rollback();
        gCurrentUser = userBefore;
        blnUserChange = changeBefore;
        return false;
    }
    txtOther1->setText(cutText(txtOther1->text(), 10));
    txtOther2->setText(cutText(txtOther2->text(), 10));
    return true;
}

bool showOptions(QWidget* parent) {
    frmOptions dlg(parent);
    dlg.Form_Load();
    dlg.run();
    return dlg.blnUserChange;
}
