#include "frmSplash.h"

#include "ToolsResources.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QSysInfo>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget* parent) : frmSplash(ProgramVersion::current(), parent) {}

frmSplash::frmSplash(const ProgramVersion& version, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), fraMainFrame(new QFrame(this)),
      picLogo(new QLabel(fraMainFrame)), lblProductName(new QLabel(fraMainFrame)),
      lblPlatform(new QLabel(fraMainFrame)), lblVersion(new QLabel(fraMainFrame)) {
    setObjectName(QStringLiteral("frmSplash"));
    fraMainFrame->setObjectName(QStringLiteral("fraMainFrame"));
    picLogo->setObjectName(QStringLiteral("picLogo"));
    lblProductName->setObjectName(QStringLiteral("lblProductName"));
    lblPlatform->setObjectName(QStringLiteral("lblPlatform"));
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    fraMainFrame->setFrameStyle(QFrame::Box | QFrame::Raised);
    fraMainFrame->setLineWidth(1);
    ensureToolsResources();
    picLogo->setPixmap(QPixmap(QStringLiteral(":/tools/logo-128.png")));

    QFont big = lblProductName->font();
    big.setPointSizeF(big.pointSizeF() * 2.5);
    big.setBold(true);
    lblProductName->setFont(big);
    QFont medium = lblVersion->font();
    medium.setPointSizeF(medium.pointSizeF() * 1.5);
    medium.setBold(true);
    lblVersion->setFont(medium);
    lblPlatform->setFont(medium);
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPlatform->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblPlatform->setWordWrap(true);

    auto* grid = new QGridLayout(fraMainFrame);
    grid->setContentsMargins(24, 24, 24, 24);
    grid->setHorizontalSpacing(24);
    grid->addWidget(picLogo, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblProductName, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblPlatform, 2, 1);
    grid->setColumnStretch(1, 1);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(fraMainFrame);

    Form_Load(version);

    resize(qMax(sizeHint().width(), 440), sizeHint().height());
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
}

void frmSplash::Form_Load(const ProgramVersion& version) {
    lblVersion->setText(ProgramInfo::shortVersionText(version));
    lblProductName->setText(ProgramInfo::title());
    // The platform the program runs on, as the system names it.
    lblPlatform->setText(QSysInfo::prettyProductName());
}
