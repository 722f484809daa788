#pragma once
// What the offscreen benchmarks share: quiet size-hint warnings, printing, failing, timing.
#include <QElapsedTimer>
#include <QString>
#include <cstdio>

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

} // namespace bench
