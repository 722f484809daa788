#include "CommandBoundary.h"

#include "CommandFailed.h"
#include "Module1.h"

#include <QCoreApplication>
#include <QDialog>
#include <QMetaObject>

namespace {
int failures = 0;

void closeLater() {
    ++failures;
    // The window closes once the handler and Qt's own event handling have unwound.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { UnloadMainForm(); }, Qt::QueuedConnection);
}
} // namespace

void guarded(const std::function<void()>& work) noexcept {
    try {
        work();
    } catch (const CommandFailed&) {
        closeLater();
    }
}

void guarded(QDialog& dialog, const std::function<void()>& work) noexcept {
    try {
        work();
    } catch (const CommandFailed&) {
        dialog.reject();
        closeLater();
    }
}

NestedFailures::NestedFailures() : before_(failures) {}

void NestedFailures::rethrow() const {
    if (failures != before_)
        throw CommandFailed();
}
