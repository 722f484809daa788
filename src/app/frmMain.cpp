#include "frmMain.h"

#include "Config.h"
#include "Module1.h"
#include "Seams.h"
#include "clsFWSDataSource.h"
#include "frmCloseMsg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Forkwise 1.0"));
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    sbPanel1 = new QLabel(bar);
    sbPanel2 = new QLabel(bar);
    sbPanel3 = new QLabel(QLocale().toString(Clock::today(), QLocale::ShortFormat), bar);
    bar->addWidget(sbPanel1, 1);
    bar->addPermanentWidget(sbPanel2);
    bar->addPermanentWidget(sbPanel3);
    setStatusBar(bar);
    resize(640, 480);
}

frmMain::~frmMain() = default;

void frmMain::Form_Load() {
    gDataSource->cmdGroups();
    gDataSource->cmdFoods();
    gDataSource->cmdTableKey();
    gCurrentUser = LoadCurrentUser();
    sbPanel2->setText(QStringLiteral("User:  ") + GetConfigValue(gCurrentUser));
    sbPanel2->setToolTip(QStringLiteral("Current User"));
    gDataSource->cmdDietData(gCurrentUser);
    gDataSource->cmdDietDates(gCurrentUser);
}

void frmMain::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload() {
    if (unloaded)
        return;
    unloaded = true;
    frmCloseMsg closing;
    closing.show();
    closing.repaint();
    Hourglass busy;
    if (gDataSource)
        gDataSource->closeDB();
}
