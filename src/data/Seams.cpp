#include "Seams.h"

#include <QTextStream>
#include <utility>

namespace {
// Without a window system a box is written to the error stream and answered with its first
// button; the windowed program and the tests replace this.
int defaultMsgBox(const QString& prompt, int buttons, const QString& title) {
    QTextStream(stderr) << title << ": " << prompt << '\n';
    switch (buttons & 7) {
    case vbYesNo:
    case vbYesNoCancel:
        return vbYes;
    default:
        return vbOK;
    }
}

MsgBoxHandler& msgBoxHandler() {
    static MsgBoxHandler handler = defaultMsgBox;
    return handler;
}

QDateTime& fixedNow() {
    static QDateTime when;
    return when;
}

std::function<void()>& busyHook() {
    static std::function<void()> hook;
    return hook;
}
std::function<void()>& restoreHook() {
    static std::function<void()> hook;
    return hook;
}

int& hourglassDepth() {
    static int depth = 0;
    return depth;
}
} // namespace

int MsgBox(const QString& prompt, int buttons, const QString& title) {
    // A box shown while the program is busy waits for the person: it gets the normal pointer,
    // and the hourglass comes back once it is answered.
    struct Pause {
        const int busy = hourglassDepth();
        Pause() {
            for (int i = 0; i < busy && restoreHook(); ++i)
                restoreHook()();
        }
        ~Pause() {
            for (int i = 0; i < busy && busyHook(); ++i)
                busyHook()();
        }
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;
    } pause;
    return msgBoxHandler()(prompt, buttons, title.isEmpty() ? QStringLiteral("Forkwise") : title);
}

MsgBoxHandler setMsgBoxHandler(MsgBoxHandler handler) {
    return std::exchange(msgBoxHandler(), handler ? std::move(handler) : defaultMsgBox);
}

QDate Clock::today() {
    return now().date();
}
QDateTime Clock::now() {
    return fixedNow().isValid() ? fixedNow() : QDateTime::currentDateTime();
}
void Clock::setFixed(const QDateTime& when) {
    fixedNow() = when;
}

Hourglass::Hourglass() {
    ++hourglassDepth();
    if (busyHook())
        busyHook()();
}
Hourglass::~Hourglass() {
    --hourglassDepth();
    if (restoreHook())
        restoreHook()();
}
void Hourglass::install(std::function<void()> busy, std::function<void()> restore) {
    busyHook() = std::move(busy);
    restoreHook() = std::move(restore);
}
