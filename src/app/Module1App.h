#pragma once
// Start-up of the program and the program-wide values that involve windows.
#include <QPointer>
#include <QString>

class frmMain;

extern QPointer<frmMain> gMainForm;

// The entry point: creates the application, starts the program beside `argv[0]`'s folder and
// runs its event loop.
int SubMain(int argc, char** argv);

// Starts the program whose folder is `programDir`: finds the diet log (making an installed
// program's first copy of it), checks for it, connects, loads the configuration, shows the
// splash and the main window. Returns false when start-up ended without a window (the user has
// seen why). Needs a QApplication.
bool startProgram(const QString& programDir);

// Installs the windowed answers to the message box and hourglass seams.
void installWindowedSeams();
