#pragma once
// The folder Backups beside the diet log and the copies in it: their names, which files count as
// copies, which of them rotation keeps, and the file work a copy needs (writing it to the disk,
// checking it, reading the open log without a second descriptor).
#include <QDateTime>
#include <QList>
#include <QString>

struct sqlite3;
struct sqlite3_file;

struct BackupInfo {
    QString path;
    QDateTime taken; // local time, from the name
    qint64 size = 0; // bytes
};

// The copies of the log at `dbPath`: those dated no later than now newest first, then those dated
// after it (named while the clock was set ahead), newest first. Symbolic links and further names
// of the log's own file are no copies: reading one would reach the log through a second
// descriptor, whose closing drops the program's lock on it.
QList<BackupInfo> listBackups(const QString& dbPath);

// Deletes what a crash left of a copy being written (a name ending in ".partial").
void removePartialCopies(const QString& dbPath);

// The names of the copies of one log, "<name> yyyy-MM-dd HHmmss[ (n)].<ext>", and rotation.
class BackupFolder {
public:
    explicit BackupFolder(const QString& dbPath);

    const QString& path() const { return folder_; }
    const QString& logPath() const { return log_; }
    // The path of the copy taken at `when`; `serial` 2, 3 ... for more than one in a second.
    QString copyPath(const QDateTime& when, int serial) const;
    // Never matches the name of a copy: never offered for a restore, never thinned out.
    QString damagedPath(const QDateTime& when) const;
    // Leftovers of copies being written: a copy gets its name only once it has passed its check.
    QStringList partials() const;
    // The copies in the order of listBackups at `now`; `current` of them are dated no later.
    QList<BackupInfo> copies(const QDateTime& now, qsizetype* current = nullptr) const;
    // Deletes the copies dated no later than `now` that are neither among the newest five nor the
    // newest of one of the four weeks and six months counted back from the newest of them; a copy
    // dated after now, and the copy at `keep`, are never deleted.
    void rotate(const QDateTime& now, const QString& keep = {}) const;

private:
    QString log_, folder_, base_, ext_;
};

// Whether the two paths name one file (the same device and inode).
bool sameFile(const QString& a, const QString& b);

// A plain sentence for a failed engine call on `db`: "The disk is full." or what SQLite said.
QString engineReason(sqlite3* db, int rc);

// PRAGMA integrity_check on the connection `db` to a copy of `size` bytes; the empty text if it
// passed, else why not.
QString integrityProblem(sqlite3* db, qint64 size);

// Flushes the file or folder at `path` to the disk; the empty text, or why it failed.
QString syncPath(const QString& path, bool folder);

// The open log's file, to read it through the connection's own descriptor.
sqlite3_file* logFile(sqlite3* db);
