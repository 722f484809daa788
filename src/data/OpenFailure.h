#pragma once
// What start-up tells about a diet log it could not open, beyond the connection message.
#include "Database.h"

#include <QString>

// One line naming what was found at `path`, the log that could not be opened for `error`, with
// the full path: "The folder ... does not exist.", "... is not a Forkwise diet log." and so on.
// Empty for a lock held by another process, which the connection message itself is about. Reads
// at most the file's header; call it only once the program has let go of the file.
QString openFailureFinding(const QString& path, const DbOpenError& error);
