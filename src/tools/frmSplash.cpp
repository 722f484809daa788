#include "frmSplash.h"

#include "Version.h"

#include <QLabel>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(QStringLiteral("Forkwise"), this);
    title->setObjectName(QStringLiteral("lblProductName"));
    QFont f = title->font();
    f.setPointSize(f.pointSize() * 2);
    f.setBold(true);
    title->setFont(f);
    auto* version = new QLabel(QStringLiteral("Version " FORKWISE_VERSION), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    layout->addWidget(title);
    layout->addWidget(version);
    resize(360, 160);
}
