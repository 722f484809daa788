#pragma once
// Where a failed data-source command ends. Every call from Qt into the program that can reach a
// data command (an action, a tree's signal, an event, a dialog's button, a timer) runs its work
// through guarded(): the command has shown its one message and thrown CommandFailed, which stops
// here, and the main window is then closed through a queued call, once Qt has unwound. No
// exception crosses a Qt event handler or a dialog's exec().
#include <QObject>
#include <functional>
#include <utility>

class QDialog;

void guarded(const std::function<void()>& work) noexcept;
// The same for a dialog's button: the dialog is left as if cancelled, so its exec() returns.
void guarded(QDialog& dialog, const std::function<void()>& work) noexcept;

// Counts the failures guarded() has caught; a nested event loop (a popup menu, a modal dialog)
// compares the count before and after and goes on unwinding from where it was entered when a
// command inside it failed.
class NestedFailures {
public:
    NestedFailures();
    // Throws CommandFailed when a command failed since this object was made.
    void rethrow() const;

private:
    int before_;
};

// Connects a signal to a member function of `receiver` that runs inside guarded(); arguments
// passed by reference (a drop's effect, a label edit's cancel flag) reach it as they are.
template <typename Sender, typename Signal, typename Receiver, typename Handler>
QMetaObject::Connection connectGuarded(Sender* sender, Signal signal, Receiver* receiver,
                                       Handler handler) {
    return QObject::connect(sender, signal, receiver, [receiver, handler](auto&&... args) {
        guarded([&] { (receiver->*handler)(std::forward<decltype(args)>(args)...); });
    });
}
