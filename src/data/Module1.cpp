#include "Module1.h"

#include "Seams.h"
#include "clsFWSDataSource.h"

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

void ShowAppError(const QString& phrase) {
    MsgBox(phrase + gSupportMsg, vbCritical | vbOKOnly, QStringLiteral("Application Error"));
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
