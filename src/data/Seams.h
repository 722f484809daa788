#pragma once
// The places where the program waits for a person or the world. The windowed program installs
// the real answers (message boxes, the hourglass pointer); tests install their own, so the
// program's real code runs under them.
#include <QDate>
#include <QDateTime>
#include <QString>
#include <functional>

// Buttons and icons of a message box, combined with |, and the button pressed.
enum MsgBoxStyle {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
};
enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// Shows a message box and returns the button pressed. An empty title means the program's title.
int MsgBox(const QString& prompt, int buttons = vbOKOnly, const QString& title = QString());

using MsgBoxHandler = std::function<int(const QString& prompt, int buttons, const QString& title)>;
// Replaces the message box; returns the previous handler.
MsgBoxHandler setMsgBoxHandler(MsgBoxHandler handler);

// Today's date and the present time, from one place that tests can fix.
namespace Clock {
QDate today();
QDateTime now();
// Fixes the clock at `when`; an invalid QDateTime returns it to the system clock.
void setFixed(const QDateTime& when);
} // namespace Clock

// Shows the hourglass pointer for the lifetime of the guard.
class Hourglass {
public:
    Hourglass();
    ~Hourglass();
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

    // The windowed program installs how the pointer is set and restored.
    static void install(std::function<void()> busy, std::function<void()> restore);
};
