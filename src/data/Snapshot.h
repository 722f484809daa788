#pragma once
// Checked copies of the diet log in the folder Backups beside it, taken while the program holds
// the file open: before a bulk deletion and when the program closes. A copy only gets its final
// name after it has passed SQLite's integrity check, so every file named like a copy can be
// restored. The newest copies are kept, and older ones thinned out to one a week and one a month.
#include <QDateTime>
#include <QList>
#include <QPair>
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
// `force`, skips the copy when the newest checked copy already holds what the file holds. Shows
// no message. Fails while a transaction is open.
SnapshotResult TakeSnapshot(Database& db, bool force = false);
SnapshotResult TakeSnapshot(sqlite3* db, bool force = false);

// Why a snapshot is taken, which decides what its failure message tells.
enum class SnapshotMoment {
    BeforeDeletion, // the deletion is called off when the copy fails
    Closing,
    BeforeRestore, // the restore is called off when the copy fails
};

// What a message says when a snapshot taken at `moment` failed for `reason`.
QString SnapshotFailureText(SnapshotMoment moment, const QString& reason);

// Takes a snapshot; when it fails, says so in one message box. True when the state is saved.
bool SnapshotOrExplain(Database& db, SnapshotMoment moment, bool force = false);

struct BackupInfo {
    QString path;
    QDateTime taken; // local time, from the name
    qint64 size = 0; // bytes
};

// The checked copies of the log at `dbPath`, newest first.
QList<BackupInfo> ListBackups(const QString& dbPath);

// The diet entries in the copy at `path` per user (CONFIG item name, such as "USER1"), in the
// order of the names; empty when the copy cannot be read. Opens the copy read-only.
QList<QPair<QString, qint64>> EntryCountsByUser(const QString& path);

// Keeps the open log's bytes as they are, damage and all, in Backups as "<name> damaged
// yyyy-MM-dd HHmmss.<ext>", a name never offered for a restore nor thinned out: what it held since
// its last good copy may still be read out of it. The empty text, or why it could not be kept.
QString KeepDamagedLog(Database& db);

// Why the copy at `path` cannot be restored into this program's log, in plain words (it fails
// SQLite's integrity check, lacks the program's tables, or was written by a newer version); the
// empty text when it can. Opens the copy read-only.
QString CheckBackup(const QString& path);

struct RestoreResult {
    bool changed = false;        // the log now holds the copy
    bool snapshotFailed = false; // no checked copy of the present state could be made
    QString reason;              // why the copy was not restored, in plain words
};

// Replaces what the open log holds with the copy at `path`, through the open connection, so the
// exclusive lock is never let go; SQLite writes it through the journal, so a crash part-way
// leaves the old state or the new one. The copy is checked first (CheckBackup); with
// `snapshotFirst` a forced snapshot of the present state is taken too (and named only when the
// check passed). Nothing is changed when the check or the snapshot fails. The copy stays open
// from its check on, so a snapshot that rotates it away does no harm. `beforeCopy` runs just
// before the pages are written; no statement of the connection may be running then, and no
// transaction may be open. A copy of an older version is brought up to date.
RestoreResult RestoreFromCopy(Database& db, const QString& path, bool snapshotFirst = false,
                              const std::function<void()>& beforeCopy = {});
