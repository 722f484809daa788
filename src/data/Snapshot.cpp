#include "Snapshot.h"

#include "Database.h"
#include "Seams.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <sqlite3.h>
#include <thread>

using namespace Qt::Literals::StringLiterals;

// Whether anything changed since the last copy is answered by the copy itself, not by a note
// kept somewhere: the log is unchanged when the newest checked copy holds the same bytes, apart
// from the four header fields every copy gets anew (the file change counter, the schema cookie,
// the version-valid-for number and the SQLite version). Nothing has to be written to survive a
// crash, a copy edited or damaged since simply counts as different, and no further copy is made
// of a state a checked copy already holds. The file change counter alone cannot answer it: with
// the lock held for the whole run, SQLite counts it up only once per run, at the first write,
// so a run that wrote after its last copy and then crashed would look unchanged. Comparing reads
// both files, which for a ten-year household log takes a few tens of milliseconds; the log's
// pages are read through the connection's own file handle, because opening and closing the file
// a second time in this process would drop the connection's exclusive lock.

namespace {

const QString kPartial = u".partial"_s;

SnapshotResult failed(const QString& reason) {
    return {SnapshotResult::Failed, QString(), reason};
}

// Leaves out of page 1 what the copy gets anew: bytes 24-27, 40-43 and 92-99 of the header.
void maskHeader(char* page1) {
    for (const int offset : {24, 40, 92, 96})
        std::memset(page1 + offset, 0, 4);
}

// True when the copy at `path` holds what the open log holds.
bool sameAsCopy(sqlite3_file* log, const QString& path) {
    sqlite3_int64 size = 0;
    QFile copy(path);
    if (log->pMethods->xFileSize(log, &size) != SQLITE_OK || size < 100 ||
        !copy.open(QIODevice::ReadOnly) || copy.size() != size)
        return false;
    constexpr qint64 kChunk = qint64(1) << 20;
    QByteArray a(int(std::min(kChunk, size)), Qt::Uninitialized);
    QByteArray b(a.size(), Qt::Uninitialized);
    for (sqlite3_int64 offset = 0; offset < size;) {
        const int n = int(std::min<sqlite3_int64>(a.size(), size - offset));
        if (log->pMethods->xRead(log, a.data(), n, offset) != SQLITE_OK ||
            copy.read(b.data(), n) != n)
            return false;
        if (offset == 0) {
            maskHeader(a.data());
            maskHeader(b.data());
        }
        if (std::memcmp(a.constData(), b.constData(), size_t(n)) != 0)
            return false;
        offset += n;
    }
    return true;
}

// Copies every page of the log into a new file at `path` in one step.
QString copyInto(sqlite3* log, const QString& path) {
    sqlite3* dest = nullptr;
    int rc =
        sqlite3_open_v2(path.toUtf8().constData(), &dest,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    // No journal and no syncs: a copy that fails is deleted, and the whole file is synced once
    // it has passed its check.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(dest,
                          "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; "
                          "PRAGMA locking_mode = EXCLUSIVE",
                          nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(dest, "main", log, "main");
        if (!backup) {
            rc = sqlite3_errcode(dest);
        } else {
            sqlite3_backup_step(backup, -1);
            rc = sqlite3_backup_finish(backup);
        }
    }
    QString reason = rc == SQLITE_OK ? QString() : engineReason(dest, rc);
    if (sqlite3_close(dest) != SQLITE_OK && reason.isEmpty())
        return engineReason(dest, sqlite3_errcode(dest));
    return reason;
}

// Runs the integrity check on the copy through a connection of its own; the empty text if it
// passed.
QString checkCopy(const QString& path) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    QString reason =
        rc == SQLITE_OK ? integrityProblem(db, QFileInfo(path).size()) : engineReason(db, rc);
    sqlite3_close(db);
    return reason;
}

// takeSnapshot, where `beforeNaming`, when given, runs once the copy has passed its check, and the
// copy is thrown away when it returns false. Thins out the older copies when `rotate`.
SnapshotResult snapshotOf(sqlite3* db, bool force, const std::function<bool()>& beforeNaming,
                          bool rotate) {
    if (!db)
        return failed(u"The diet log is not open."_s);
    // Mid-transaction the file may hold pages that are not committed.
    if (!sqlite3_get_autocommit(db))
        return failed(u"A change to the diet log is still being written."_s);
    const char* file = sqlite3_db_filename(db, "main");
    if (!file || !*file)
        return failed(u"The diet log has no file."_s);
    const BackupFolder folder(QString::fromUtf8(file));
    // What a crash left half-written is of no use.
    removePartialCopies(folder.logPath());

    const QDateTime now = Clock::now();
    qsizetype current = 0;
    const QList<BackupInfo> copies = folder.copies(now, &current);
    // A copy dated after now was named while the clock was set ahead: it is never the newest.
    if (!force && current > 0) {
        sqlite3_file* log = logFile(db);
        if (log && sameAsCopy(log, copies.first().path))
            return {SnapshotResult::Skipped, copies.first().path, QString()};
    }

    if (!QDir().mkpath(folder.path()) || !QFileInfo(folder.path()).isDir())
        return failed(
            u"The folder \"%1\" could not be made."_s.arg(QDir::toNativeSeparators(folder.path())));

    QString path;
    for (int serial = 1;
         path.isEmpty() || QFileInfo::exists(path) || QFileInfo::exists(path + kPartial); ++serial)
        path = folder.copyPath(now, serial);
    const QString partial = path + kPartial;

    QString reason = copyInto(db, partial);
    if (reason.isEmpty()) {
        // The check reads what the flush writes out: the two run side by side.
        QString synced;
        std::thread flush([&] { synced = syncPath(partial, false); });
        reason = checkCopy(partial);
        flush.join();
        if (reason.isEmpty())
            reason = synced;
    }
    if (reason.isEmpty() && beforeNaming && !beforeNaming()) {
        QFile::remove(partial);
        return failed(QString());
    }
    // QFile::rename never replaces a file that is already there.
    if (reason.isEmpty() && !QFile::rename(partial, path))
        reason = u"The copy could not be renamed to \"%1\"."_s.arg(QDir::toNativeSeparators(path));
    if (!reason.isEmpty()) {
        QFile::remove(partial);
        return failed(reason);
    }
    syncPath(folder.path(), true);
    if (rotate)
        folder.rotate(now);
    return {SnapshotResult::Taken, path, QString()};
}

} // namespace

SnapshotResult takeSnapshot(Database& db, bool force) {
    if (!db.isOpen())
        return failed(u"The diet log is not open."_s);
    return takeSnapshot(db.handle(), force);
}

SnapshotResult takeSnapshot(sqlite3* db, bool force) {
    return snapshotOf(db, force, {}, true);
}

SnapshotResult takeSnapshotUnrotated(sqlite3* db, const std::function<bool()>& beforeNaming) {
    return snapshotOf(db, true, beforeNaming, false);
}

QString snapshotFailureText(SnapshotMoment moment, const QString& reason) {
    QString what = u"A checked backup copy of the diet log could not be made"_s;
    if (moment == SnapshotMoment::BeforeDeletion)
        what += u", so nothing was deleted."_s;
    else if (moment == SnapshotMoment::BeforeRestore)
        what += u", so the diet log was not restored."_s;
    else
        what += u'.';
    return what + u"\n\n"_s + reason;
}

bool snapshotOrExplain(Database& db, SnapshotMoment moment, bool force) {
    const SnapshotResult result = takeSnapshot(db, force);
    if (result.saved())
        return true;
    MsgBox(snapshotFailureText(moment, result.reason), vbExclamation);
    return false;
}
