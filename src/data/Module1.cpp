#include "Module1.h"

#include "Seams.h"
#include "clsFWSDataSource.h"

#include <exception>

QString gDBPath;
QString gSupportMsg;
std::unique_ptr<clsFWSDataSource> gDataSource;
QString gCurrentUser;

namespace {
std::function<void()>& unloadHandler() {
    static std::function<void()> handler;
    return handler;
}
} // namespace

QString supportSentence() {
    return QStringLiteral("If this behavior continues contact Brindlewood Software Support at "
                          "support@forkwise.org.");
}

namespace {
// Whether the failure being handled is a write the disk had no room for.
bool handlingDiskFull() {
    try {
        if (const std::exception_ptr failure = std::current_exception())
            std::rethrow_exception(failure);
    } catch (const DbError& e) {
        return e.diskFull;
    } catch (...) {
        // any other failure is not a full disk
    }
    return false;
}
} // namespace

void showAppError(const QString& phrase) {
    QString text = phrase + gSupportMsg;
    // Of all causes the one the user can mend at once, and the support sentence does not name it.
    if (handlingDiskFull())
        text += QStringLiteral("\nThe disk that holds the diet log is full.");
    MsgBox(text, vbCritical | vbOKOnly, QStringLiteral("Application Error"));
}

void UnloadMainForm() {
    try {
        if (unloadHandler())
            unloadHandler()();
    } catch (...) {
        // Closing is best effort: the run is ending anyway.
    }
}

void setUnloadMainFormHandler(std::function<void()> handler) {
    unloadHandler() = std::move(handler);
}
