#pragma once
// Where the diet log lives. A program whose folder holds `Data/` is portable: its log is
// Data/ForkData.mdb beside it (the build folder's bin/, every test). An installed program's
// folder has no Data/, so each person gets a log of their own in their data folder, made on the
// first start from the database delivered in the shared files.
#include <QString>

// The folder of the files an installed program shares: <program folder>/../share/forkwise.
QString sharedFilesFolder(const QString& programDir);

// The log of a person using an installed program: <data folder>/Forkwise/Data/ForkData.mdb.
QString personalLogPath();

struct DietLogPlace {
    enum Status {
        Ready,             // `path` is the log to open (it may still be missing or damaged)
        DeliveredUnusable, // a first copy was due, and the delivered database at `path` is missing
                           // or fails its check
        NotCreated,        // the first copy to `path` could not be made; `reason` says why
    };
    Status status = Ready;
    QString path;
    QString reason;
};

// Chooses this run's log for the program in `programDir`. On an installed program's first start
// (the person's Data folder is not there yet) the delivered database is copied in under a
// temporary name, checked and renamed into place; when that fails nothing of it remains, so the
// next start tries again. Later starts never copy: the log there is the person's own.
DietLogPlace prepareDietLog(const QString& programDir);

// What the person is told when the first copy failed.
QString logNotCreatedText(const DietLogPlace& place);
