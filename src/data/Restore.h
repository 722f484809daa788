#pragma once
// Putting a copy from Backups back into the open diet log. A file there is trusted on nothing but
// what it holds: it must be laid out exactly as this program lays out its files, hold no trigger
// or view, keep its changes in the file itself, and pass SQLite's integrity check.
#include "BackupFolder.h"

#include <QStringList>
#include <functional>

class Database;

// Why a file in Backups cannot be restored.
enum class CopyFault {
    None,
    NotOurs, // not an SQLite file, or laid out otherwise than this program's files
    Damaged, // SQLite cannot read it
    Newer,   // written by a newer version of the program
};

// The few words the Restore Backup list shows in place of the counts of a copy with `fault`.
QString copyFaultText(CopyFault fault);

struct CopySummary {
    CopyFault fault = CopyFault::None;
    bool counted = false; // the counts are complete: counting ended within its time
    QList<qint64> counts; // the diet entries of each user asked for, in that order
};

// What the Restore Backup list shows of the copy at `path`: whether its header and layout are
// right (its pages are not checked), and how many diet entries each of `users` (CONFIG item
// names, such as "USER1") has in it, counted for at most `limitMs` milliseconds. Opens the copy
// read-only.
CopySummary summarizeBackup(const QString& path, const QStringList& users, int limitMs = 1000);

// summarizeBackup for each of `paths`, in that order, several copies at a time.
QList<CopySummary> summarizeBackups(const QStringList& paths, const QStringList& users);

// Why the copy at `path` cannot be restored into this program's log, in plain words; the empty
// text when it can. Checks its header, its layout and every page. Opens the copy read-only.
QString checkBackup(const QString& path);

// Keeps the open log's bytes as they are, damage and all, in Backups as "<name> damaged
// yyyy-MM-dd HHmmss.<ext>", a name never offered for a restore nor thinned out: what it held since
// its last good copy may still be read out of it. The empty text, or why it could not be kept.
QString keepDamagedLog(Database& db);

struct RestoreResult {
    bool changed = false;        // the log now holds the copy
    bool snapshotFailed = false; // no checked copy of the present state could be made
    QString reason;              // why the copy was not restored, in plain words
};

// Replaces what the open log holds with the copy at `path`, through the open connection, so the
// exclusive lock is never let go; SQLite writes it through the journal, so a crash part-way
// leaves the old state or the new one. The copy is checked first (checkBackup); with
// `snapshotFirst` a forced snapshot of the present state is taken too (and named only when the
// check passed), and the older copies are thinned out only once the restore succeeded, never
// the one restored. Nothing is changed when the check or the snapshot fails. `beforeCopy` runs
// just before the pages are written; no statement of the connection may be running then, and
// no transaction may be open. A copy of an older version is brought up to date.
RestoreResult restoreFromCopy(Database& db, const QString& path, bool snapshotFirst = false,
                              const std::function<void()>& beforeCopy = {});
