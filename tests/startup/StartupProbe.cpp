// Starts the program on the folder given, as whoever runs it, answering every message box with
// its first button and printing its prompt; exits 0 when the main window opened. The start-up
// tests run it as an unprivileged user, for whom file modes do stop writes.
#include "Module1App.h"
#include "Seams.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    setMsgBoxHandler([](const QString& prompt, int buttons, const QString&) {
        std::printf("%s\n", prompt.toUtf8().constData());
        return (buttons & 7) == vbYesNo ? int(vbYes) : int(vbOK);
    });
    const bool started = startProgram(QString::fromLocal8Bit(argv[1]));
    std::fflush(stdout);
    std::_Exit(started ? 0 : 1); // the window is not run: nothing is to be saved or closed
}
