#pragma once
// What the offscreen benchmarks share: starting the program on a copy of a log, quiet size-hint
// warnings, printing, failing, timing.
#include "Module1App.h"
#include "Seams.h"
#include "frmMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace bench {

// The offscreen platform warns of every window's size hints it cannot pass on; the rest goes on.
inline void quietSizeHintWarnings() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (!text.startsWith(QStringLiteral("This plugin does not support")))
                previous(type, context, text);
        });
}

inline void print(const QString& line) {
    std::fputs(qPrintable(line + u'\n'), stdout);
}

// Reports why the benchmark `program` stopped; returns its exit code.
inline int fail(const char* program, const QString& why) {
    std::fputs(qPrintable(QString::fromLatin1(program) + QStringLiteral(": ") + why + u'\n'),
               stderr);
    return 1;
}

inline double msOf(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

// The processor time the process has used, user and system, in milliseconds: on a machine shared
// with other work the clock also counts the time others had.
inline double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// "min .. ms, median .. ms, max .. ms" of timings in milliseconds.
inline QString summary(const std::vector<double>& v) {
    return QStringLiteral("min %1 ms, median %2 ms, max %3 ms")
        .arg(*std::min_element(v.begin(), v.end()), 0, 'f', 2)
        .arg(median(v), 0, 'f', 2)
        .arg(*std::max_element(v.begin(), v.end()), 0, 'f', 2);
}

// The arguments "LOG_DB [--runs N]": the log and the number of runs (`defaultRuns` without
// --runs); an empty log when they are wrong, after saying how they go.
struct LogArgs {
    QString log;
    int runs = 0;
};
inline LogArgs logArgs(const char* program, int defaultRuns, int minRuns) {
    const QStringList args = QCoreApplication::arguments().mid(1);
    LogArgs out;
    out.runs =
        args.size() == 3 && args[1] == QStringLiteral("--runs") ? args[2].toInt() : defaultRuns;
    if (args.isEmpty() || !QFileInfo::exists(args[0]) || out.runs < minRuns)
        fail(program, QStringLiteral("usage: %1 LOG_DB [--runs N], N at least %2")
                          .arg(QString::fromLatin1(program))
                          .arg(minRuns));
    else
        out.log = args[0];
    return out;
}

// Starts the program in `folder` (the program's folder) on its own copy of `log`, its settings
// kept inside the folder and every message box recorded in `boxes`, since a box means a failure
// that would otherwise be timed as a fast run. Returns why it could not start, or the empty text.
inline QString startOnCopy(const QString& log, const QTemporaryDir& folder, QStringList& boxes) {
    if (!folder.isValid() || !QDir(folder.path()).mkpath(QStringLiteral("Data")) ||
        !QFile::copy(log, folder.filePath(QStringLiteral("Data/ForkData.mdb"))))
        return QStringLiteral("cannot copy the log into ") + folder.path();
    const QString settings = folder.filePath(QStringLiteral("config"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings);
    setMsgBoxHandler([&boxes](const QString& prompt, int, const QString&) {
        boxes << prompt;
        return int(vbOK);
    });
    if (!StartProgram(folder.path()) || !gMainForm)
        return QStringLiteral("the program did not start: ") + boxes.join(QStringLiteral("; "));
    QApplication::processEvents();
    return QString();
}

} // namespace bench
