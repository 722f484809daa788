#pragma once
// Program-wide values shared by every window (the start-up module's state that needs no widgets).
#include <QString>
#include <functional>
#include <memory>

class clsFWSDataSource;

extern QString gDBPath;     // full path of ForkData.mdb
extern QString gSupportMsg; // the sentence that ends every critical failure message
extern std::unique_ptr<clsFWSDataSource> gDataSource;
extern QString gCurrentUser; // CONFIG item name of the current user, such as "USER1"

// The sentence appended to every critical failure message.
QString supportSentence();

// Shows the critical "Application Error" box of a failed database operation: the phrase (which
// ends in two spaces) followed by gSupportMsg. Called while handling a DbError of a full disk, it
// adds a line saying so.
void showAppError(const QString& phrase);

// Closes the main window, which ends the run; any error in doing so is ignored. The windowed
// program installs what closing means; without it nothing happens.
void UnloadMainForm();
void setUnloadMainFormHandler(std::function<void()> handler);
