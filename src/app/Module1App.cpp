#include "Module1App.h"

#include "LogLocation.h"
#include "Module1.h"
#include "Seams.h"
#include "clsFWSDataSource.h"
#include "frmMain.h"
#include "frmSplash.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

QPointer<frmMain> gMainForm;

namespace {

// The file counts as missing only when its folder is there and the file is not; any other
// failure to read it (no Data folder, no permission, a lock) is left for the connection to
// report.
bool databaseFileMissing(const QString& path) {
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly)) {
        probe.close();
        return false;
    }
    return probe.error() == QFileDevice::OpenError && QFileInfo(path).dir().exists() &&
           !QFileInfo::exists(path);
}

int windowedMsgBox(const QString& prompt, int buttons, const QString& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(prompt);
    switch (buttons & 0x70) {
    case vbCritical:
        box.setIcon(QMessageBox::Critical);
        break;
    case vbQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case vbExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case vbInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    switch (buttons & 7) {
    case vbOKCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case vbYesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case vbYesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return vbYes;
    case QMessageBox::No:
        return vbNo;
    case QMessageBox::Cancel:
        return vbCancel;
    default:
        return vbOK;
    }
}

} // namespace

void installWindowedSeams() {
    setMsgBoxHandler(windowedMsgBox);
    Hourglass::install([] { QApplication::setOverrideCursor(Qt::WaitCursor); },
                       [] { QApplication::restoreOverrideCursor(); });
}

bool startProgram(const QString& programDir) {
    // Before any window: an installed program's first start makes the person's own log here.
    const DietLogPlace log = prepareDietLog(programDir);
    gDBPath = QDir::toNativeSeparators(log.path);
    gSupportMsg = supportSentence();

    if (log.status == DietLogPlace::NotCreated) {
        MsgBox(logNotCreatedText(log), vbCritical | vbOKOnly,
               QStringLiteral("Critical Application Error"));
        return false;
    }
    // The delivered database that was to be copied is named the way a missing log is.
    if (log.status == DietLogPlace::DeliveredUnusable || databaseFileMissing(gDBPath)) {
        MsgBox(QStringLiteral("Unable to locate database file '") + gDBPath +
                   QStringLiteral("'.\n\n  Check your installation folder.  If the file is "
                                  "missing, you may attempt ") +
                   QStringLiteral("to reinstall the application. \n\n") + gSupportMsg,
               vbCritical | vbOKOnly, QStringLiteral("Critical Application Error"));
        return false;
    }

    gDataSource = std::make_unique<clsFWSDataSource>();
    if (!gDataSource->connectDB()) {
        gDataSource.reset();
        return false;
    }
    setUnloadMainFormHandler([] {
        if (gMainForm)
            gMainForm->closeAfterFailure();
    });
    // Before there is an event loop a failed command closes what is open at once: the message
    // has been shown, and the run ends without a window.
    try {
        gDataSource->cmdConfig();
    } catch (const CommandFailed&) {
        gDataSource->closeDB();
        return false;
    }
    auto splash = std::make_unique<frmSplash>();
    splash->show();
    splash->repaint();
    // The splash is drawn now, while the main window loads without an event loop.
    QApplication::processEvents();
    gMainForm = new frmMain;
    gMainForm->setAttribute(Qt::WA_DeleteOnClose);
    try {
        gMainForm->Form_Load();
    } catch (const CommandFailed&) {
        gMainForm->closeAfterFailure();
        return false;
    } catch (const DbError&) {
        // A row that cannot be read does not stop the start: the window shows what was loaded.
    }
    splash.reset();
    gMainForm->show();
    return true;
}

int SubMain(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Forkwise"));
    QApplication::setOrganizationName(QStringLiteral("Forkwise"));
    // Ties the windows to the installed desktop entry, for its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.forkwise.Forkwise"));
    installWindowedSeams();
    if (!startProgram(QCoreApplication::applicationDirPath()))
        return 0;
    QApplication::setQuitOnLastWindowClosed(true);
    return QApplication::exec();
}
