#pragma once
// Checked copies of the diet log in the folder Backups beside it, taken while the program holds
// the file open: before a bulk deletion and when the program closes. A copy only gets its final
// name after it has passed SQLite's integrity check, so every file named like a copy was a good
// one when it was made. The newest copies are kept, and older ones thinned out to one a week and
// one a month.
#include "BackupFolder.h"

#include <QString>
#include <functional>

class Database;
struct sqlite3;

struct SnapshotResult {
    enum Status {
        Taken,   // a new checked copy is at `path`
        Skipped, // nothing changed since the checked copy at `path`, which holds the state
        Failed,  // no copy was made; `reason` says why in plain words
    };
    Status status = Failed;
    QString path;
    QString reason;

    // The state of the log is held by a checked copy: it is safe to delete from the log now.
    bool saved() const { return status != Failed; }
};

// Copies the open log into Backups (made when missing) as "<name> yyyy-MM-dd HHmmss.<ext>", with
// " (2)", " (3)" ... added when that name is taken, then thins out the older copies. Unless
// `force`, skips the copy when the newest copy dated no later than now already holds what the
// file holds. Removes what a crash left of an earlier copy. Shows no message. Fails while a
// transaction is open.
SnapshotResult takeSnapshot(Database& db, bool force = false);
SnapshotResult takeSnapshot(sqlite3* db, bool force = false);

// A forced snapshot that thins out nothing, for a restore, which rotates only once it succeeded.
// `beforeNaming` runs once the copy has passed its check; when it returns false the copy is
// thrown away and the result is Failed with no reason.
SnapshotResult takeSnapshotUnrotated(sqlite3* db, const std::function<bool()>& beforeNaming);

// Why a snapshot is taken, which decides what its failure message tells.
enum class SnapshotMoment {
    BeforeDeletion, // the deletion is called off when the copy fails
    Closing,
    BeforeRestore, // the restore is called off when the copy fails
};

// What a message says when a snapshot taken at `moment` failed for `reason`.
QString snapshotFailureText(SnapshotMoment moment, const QString& reason);

// Takes a snapshot; when it fails, says so in one message box. True when the state is saved.
bool snapshotOrExplain(Database& db, SnapshotMoment moment, bool force = false);
