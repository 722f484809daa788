#include "frmAbout.h"

#include "Module1.h"
#include "ShowModal.h"
#include "ToolsResources.h"

#include <QDesktopServices>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLabel* namedLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

// One half of the etched rule under the title: a one-pixel line of the given colour.
QFrame* ruleLine(const QString& name, const QColor& colour, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, colour);
    line->setPalette(p);
    return line;
}

} // namespace

frmAbout::frmAbout(QWidget* owner) : frmAbout(ProgramVersion::current(), owner) {}

frmAbout::frmAbout(const ProgramVersion& version, QWidget* owner)
    : QDialog(owner), picIcon(namedLabel(QStringLiteral("picIcon"), {}, this)),
      lblTitle(namedLabel(QStringLiteral("lblTitle"), {}, this)),
      lblVersion(namedLabel(QStringLiteral("lblVersion"), {}, this)),
      Label2(namedLabel(QStringLiteral("Label2"), QStringLiteral("How to contact us:"), this)),
      lblEMail(namedLabel(QStringLiteral("lblEMail"),
                          QStringLiteral("E-Mail:  ") + ProgramInfo::supportEMail(), this)),
      lblPostal(namedLabel(QStringLiteral("lblPostal"),
                           QStringLiteral("Postal Mail:  ") + ProgramInfo::postalAddress(), this)),
      Label3(namedLabel(QStringLiteral("Label3"), QStringLiteral("Internet:  "), this)),
      lblWEbLink(namedLabel(QStringLiteral("lblWEbLink"), ProgramInfo::webAddress(), this)),
      Line1{ruleLine(QStringLiteral("Line1_0"), QColor(0x80, 0x80, 0x80), this),
            ruleLine(QStringLiteral("Line1_1"), Qt::white, this)},
      lblDietLog(namedLabel(QStringLiteral("lblDietLog"),
                            QStringLiteral("Diet log:  ") + QDir::toNativeSeparators(gDBPath),
                            this)),
      cmdOK(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Forkwise"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setMinimumWidth(90);

    ensureToolsResources();
    picIcon->setPixmap(QPixmap(QStringLiteral(":/tools/logo-48.png")));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblEMail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblPostal->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblDietLog->setTextInteractionFlags(Qt::TextSelectableByMouse);

    // The web address looks and behaves like a link: dark blue, underlined, a hand pointer.
    QPalette linkPalette = lblWEbLink->palette();
    linkPalette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    lblWEbLink->setPalette(linkPalette);
    QFont linkFont = lblWEbLink->font();
    linkFont.setUnderline(true);
    lblWEbLink->setFont(linkFont);
    lblWEbLink->setCursor(Qt::PointingHandCursor);
    lblWEbLink->setToolTip(ProgramInfo::webAddress());
    lblWEbLink->installEventFilter(this);

    auto* heading = new QGridLayout;
    heading->setHorizontalSpacing(16);
    heading->addWidget(picIcon, 0, 0, 2, 1, Qt::AlignTop);
    heading->addWidget(lblTitle, 0, 1);
    heading->addWidget(lblVersion, 1, 1);
    heading->setColumnStretch(1, 1);

    auto* rule = new QVBoxLayout;
    rule->setSpacing(0);
    rule->addWidget(Line1[0]);
    rule->addWidget(Line1[1]);

    auto* web = new QHBoxLayout;
    web->setSpacing(0);
    web->addWidget(Label3);
    web->addWidget(lblWEbLink);
    web->addStretch();

    auto* contact = new QVBoxLayout;
    contact->setContentsMargins(16, 0, 0, 0);
    contact->addWidget(lblEMail);
    contact->addWidget(lblPostal);
    contact->addLayout(web);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(heading);
    layout->addSpacing(8);
    layout->addLayout(rule);
    layout->addSpacing(8);
    layout->addWidget(Label2);
    layout->addLayout(contact);
    layout->addSpacing(8);
    layout->addWidget(lblDietLog);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    Form_Load(version);
}

void frmAbout::Form_Load(const ProgramVersion& version) {
    lblVersion->setText(ProgramInfo::aboutVersionText(version));
    lblTitle->setText(ProgramInfo::title());
}

void frmAbout::reject() {
    cmdOK_Click();
}

void frmAbout::cmdOK_Click() {
    done(QDialog::Accepted);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblWEbLink && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lblWEbLink_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// The system opens the address in the default browser; the program neither waits for it nor
// looks at whether it started.
void frmAbout::lblWEbLink_Click() {
    QDesktopServices::openUrl(QUrl(ProgramInfo::webAddress()));
}

void showAboutBox(QWidget* owner) {
    frmAbout dlg(owner);
    ShowModal(dlg);
}
