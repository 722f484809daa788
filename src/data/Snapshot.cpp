#include "Snapshot.h"

#include "Database.h"
#include "SchemaVersion.h"
#include "Seams.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <sqlite3.h>
#include <thread>
#include <unistd.h>

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

const QString kFolder = u"Backups"_s;
const QString kStampFormat = u"yyyy-MM-dd HHmmss"_s;
// A copy is written under its final name plus this, and renamed once it has passed its check.
const QString kPartial = u".partial"_s;

struct Copy {
    BackupInfo info;
    int serial = 1; // 2, 3 ... for a second copy within the same second
};

// The names of the copies of one log: "<name> yyyy-MM-dd HHmmss[ (n)].<ext>".
class Naming {
public:
    explicit Naming(const QString& dbPath) {
        const QFileInfo db(dbPath);
        folder_ = db.absoluteDir().filePath(kFolder);
        base_ = db.completeBaseName();
        ext_ = db.suffix().isEmpty() ? QString() : u'.' + db.suffix();
        pattern_.setPattern(u"^"_s + QRegularExpression::escape(base_) +
                            u" (\\d{4}-\\d\\d-\\d\\d \\d{6})(?: \\((\\d+)\\))?"_s +
                            QRegularExpression::escape(ext_) + u"(\\.partial)?$"_s);
    }
    const QString& folder() const { return folder_; }
    // Never matches the pattern of a copy: never offered for a restore, never thinned out.
    QString damagedName(const QDateTime& when) const {
        return base_ + u" damaged "_s + when.toString(kStampFormat) + ext_;
    }
    QString name(const QDateTime& when, int serial) const {
        return base_ + u' ' + when.toString(kStampFormat) +
               (serial > 1 ? u" (%1)"_s.arg(serial) : QString()) + ext_;
    }

    // The checked copies in the folder, newest first; leftovers of failed copies in `partials`.
    QList<Copy> copies(QStringList* partials = nullptr) const {
        QList<Copy> found;
        const QDir dir(folder_);
        for (const QFileInfo& file : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
            const QRegularExpressionMatch m = pattern_.match(file.fileName());
            if (!m.hasMatch())
                continue;
            if (!m.captured(3).isEmpty()) {
                if (partials)
                    *partials << file.filePath();
                continue;
            }
            Copy copy;
            copy.info.taken = QDateTime::fromString(m.captured(1), kStampFormat);
            if (!copy.info.taken.isValid())
                continue;
            copy.info.path = file.filePath();
            copy.info.size = file.size();
            copy.serial = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
            found << copy;
        }
        std::sort(found.begin(), found.end(), [](const Copy& a, const Copy& b) {
            return a.info.taken != b.info.taken ? a.info.taken > b.info.taken : a.serial > b.serial;
        });
        return found;
    }

private:
    QString folder_, base_, ext_;
    QRegularExpression pattern_;
};

SnapshotResult failed(const QString& reason) {
    return {SnapshotResult::Failed, QString(), reason};
}

// The open log's file, read without a second descriptor.
sqlite3_file* mainFile(sqlite3* db) {
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods)
        return nullptr;
    return file;
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

// A plain sentence for a failed engine call on `db` (the copy's connection).
QString engineReason(sqlite3* db, int rc) {
    const int err = db ? sqlite3_system_errno(db) : 0;
    if ((rc & 0xff) == SQLITE_FULL || err == ENOSPC || err == EDQUOT)
        return u"The disk is full."_s;
    QString text =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    if (err != 0)
        text += u" ("_s + QString::fromLocal8Bit(std::strerror(err)) + u')';
    return u"SQLite reported: "_s + text + u'.';
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
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    // The check looks up every row in every index; reading the pages through a map of the whole
    // file instead of a call each halves its time on a household log.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(
            db, u"PRAGMA mmap_size = %1"_s.arg(QFileInfo(path).size()).toUtf8().constData(),
            nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr);
    QString reason;
    if (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        const QString answer =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        if (answer != u"ok"_s || sqlite3_step(st) != SQLITE_DONE)
            reason = u"The copy failed its integrity check: "_s + answer;
    } else {
        reason = engineReason(db, rc);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return reason;
}

// Flushes the file or folder at `path` to the disk; the empty text, or why it failed.
QString syncPath(const QString& path, bool folder) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_CLOEXEC | (folder ? O_DIRECTORY : 0));
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    const int err = errno;
    if (fd >= 0)
        ::close(fd);
    return ok ? QString()
              : u"The copy could not be written to the disk: %1."_s.arg(
                    QString::fromLocal8Bit(std::strerror(err)));
}

// Indexes into `copies` (newest first) of those to keep at `now`.
QList<qsizetype> toKeep(const QList<Copy>& copies, const QDateTime& now) {
    QList<qsizetype> keep;
    const auto keepFirst = [&](auto inPeriod) {
        for (qsizetype i = 0; i < copies.size(); ++i)
            if (inPeriod(copies[i].info.taken.date())) {
                if (!keep.contains(i))
                    keep << i;
                return;
            }
    };
    for (qsizetype i = 0; i < std::min<qsizetype>(5, copies.size()); ++i)
        keep << i;
    const QDate today = now.date();
    const QDate monday = today.addDays(1 - today.dayOfWeek());
    for (int w = 0; w < 4; ++w) {
        const QDate from = monday.addDays(-7 * qint64(w));
        keepFirst([&](const QDate& d) { return d >= from && d < from.addDays(7); });
    }
    for (int m = 0; m < 6; ++m) {
        const QDate month = today.addMonths(-m);
        keepFirst(
            [&](const QDate& d) { return d.year() == month.year() && d.month() == month.month(); });
    }
    return keep;
}

// Deletes the copies rotation does not keep. It runs only after the checked copy at `taken` was
// made, which counts as the newest even when the clock was set back since older ones were named.
void rotate(const Naming& naming, const QDateTime& now, const QString& taken) {
    QList<Copy> copies = naming.copies();
    const auto it = std::find_if(copies.begin(), copies.end(),
                                 [&](const Copy& c) { return c.info.path == taken; });
    if (it != copies.end())
        std::rotate(copies.begin(), it, it + 1);
    const QList<qsizetype> keep = toKeep(copies, now);
    for (qsizetype i = 0; i < copies.size(); ++i)
        if (!keep.contains(i))
            QFile::remove(copies[i].info.path);
}

} // namespace

SnapshotResult TakeSnapshot(Database& db, bool force) {
    if (!db.isOpen())
        return failed(u"The diet log is not open."_s);
    return TakeSnapshot(db.handle(), force);
}

namespace {

// TakeSnapshot; `beforeNaming`, when given, runs once the copy has passed its check, and the
// copy is thrown away (no copy named, none rotated away) when it returns false.
SnapshotResult takeSnapshot(sqlite3* db, bool force, const std::function<bool()>& beforeNaming) {
    if (!db)
        return failed(u"The diet log is not open."_s);
    // Mid-transaction the file may hold pages that are not committed.
    if (!sqlite3_get_autocommit(db))
        return failed(u"A change to the diet log is still being written."_s);
    const char* file = sqlite3_db_filename(db, "main");
    if (!file || !*file)
        return failed(u"The diet log has no file."_s);
    const Naming naming(QString::fromUtf8(file));

    QStringList partials;
    const QList<Copy> copies = naming.copies(&partials);
    if (!force && !copies.isEmpty()) {
        sqlite3_file* log = mainFile(db);
        if (log && sameAsCopy(log, copies.first().info.path))
            return {SnapshotResult::Skipped, copies.first().info.path, QString()};
    }

    if (!QDir().mkpath(naming.folder()) || !QFileInfo(naming.folder()).isDir())
        return failed(u"The folder \"%1\" could not be made."_s.arg(
            QDir::toNativeSeparators(naming.folder())));
    // What a crash left half-written is of no use.
    for (const QString& partial : partials)
        QFile::remove(partial);

    const QDateTime now = Clock::now();
    const QDir dir(naming.folder());
    QString path;
    for (int serial = 1;
         path.isEmpty() || QFileInfo::exists(path) || QFileInfo::exists(path + kPartial); ++serial)
        path = dir.filePath(naming.name(now, serial));
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
    syncPath(naming.folder(), true);
    rotate(naming, now, path);
    return {SnapshotResult::Taken, path, QString()};
}

} // namespace

SnapshotResult TakeSnapshot(sqlite3* db, bool force) {
    return takeSnapshot(db, force, {});
}

QString SnapshotFailureText(SnapshotMoment moment, const QString& reason) {
    QString what = u"A checked backup copy of the diet log could not be made"_s;
    if (moment == SnapshotMoment::BeforeDeletion)
        what += u", so nothing was deleted."_s;
    else if (moment == SnapshotMoment::BeforeRestore)
        what += u", so the diet log was not restored."_s;
    else
        what += u'.';
    return what + u"\n\n"_s + reason;
}

bool SnapshotOrExplain(Database& db, SnapshotMoment moment, bool force) {
    const SnapshotResult result = TakeSnapshot(db, force);
    if (result.saved())
        return true;
    MsgBox(SnapshotFailureText(moment, result.reason), vbExclamation);
    return false;
}

QList<BackupInfo> ListBackups(const QString& dbPath) {
    QList<BackupInfo> list;
    for (const Copy& copy : Naming(dbPath).copies())
        list << copy.info;
    return list;
}

QList<QPair<QString, qint64>> EntryCountsByUser(const QString& path) {
    QList<QPair<QString, qint64>> counts;
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                        nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db,
                           "SELECT UserName, count(*) FROM DietActivity GROUP BY UserName "
                           "ORDER BY UserName",
                           -1, &st, nullptr) == SQLITE_OK) {
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            counts.append(
                {QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))),
                 sqlite3_column_int64(st, 1)});
        if (rc != SQLITE_DONE)
            counts.clear();
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return counts;
}

namespace {

// The copy at `path` opened read-only, with why it cannot be restored (empty when it can).
QString openChecked(const QString& path, sqlite3** db) {
    QString reason = checkCopy(path);
    if (!reason.isEmpty())
        return reason;
    sqlite3_stmt* st = nullptr;
    int version = -1;
    if (sqlite3_open_v2(path.toUtf8().constData(), db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX,
                        nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(*db, "PRAGMA user_version", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        version = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    if (version < 0)
        return engineReason(*db, sqlite3_errcode(*db));
    if (!HasProgramTables(*db))
        return u"The copy is not a Forkwise diet log."_s;
    if (version > kSchemaVersion)
        return u"The copy was written by a newer version of Forkwise."_s;
    return QString();
}

} // namespace

QString KeepDamagedLog(Database& db) {
    sqlite3_file* log = db.isOpen() ? mainFile(db.handle()) : nullptr;
    const char* file = db.isOpen() ? sqlite3_db_filename(db.handle(), "main") : nullptr;
    if (!log || !file)
        return u"The diet log is not open."_s;
    const Naming naming(QString::fromUtf8(file));
    QDir().mkpath(naming.folder());
    QFile out(QDir(naming.folder()).filePath(naming.damagedName(Clock::now())));
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return u"\"%1\" could not be written: %2"_s.arg(QDir::toNativeSeparators(out.fileName()),
                                                        out.errorString());
    // Read through the connection's own file handle, which keeps the lock (see above).
    sqlite3_int64 size = 0;
    bool ok = log->pMethods->xFileSize(log, &size) == SQLITE_OK;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (sqlite3_int64 offset = 0; ok && offset < size; offset += chunk.size()) {
        const int n = int(std::min<sqlite3_int64>(chunk.size(), size - offset));
        ok = log->pMethods->xRead(log, chunk.data(), n, offset) == SQLITE_OK &&
             out.write(chunk.constData(), n) == n;
    }
    ok = ok && out.flush();
    out.close();
    const QString synced = ok ? syncPath(out.fileName(), false) : QString();
    if (ok && synced.isEmpty())
        return QString();
    out.remove();
    return synced.isEmpty() ? u"The disk may be full."_s : synced;
}

QString CheckBackup(const QString& path) {
    sqlite3* db = nullptr;
    QString reason = openChecked(path, &db);
    sqlite3_close(db);
    return reason;
}

RestoreResult RestoreFromCopy(Database& db, const QString& path, bool snapshotFirst,
                              const std::function<void()>& beforeCopy) {
    RestoreResult result;
    if (!sqlite3_get_autocommit(db.handle())) {
        result.reason = u"A change to the diet log is still being written."_s;
        return result;
    }
    sqlite3* copy = nullptr;
    if (snapshotFirst) {
        // The copy is checked while the present state is copied and checked: the two take about
        // as long, and a copy of the present state is named only once the chosen one passed.
        std::future<QString> checked =
            std::async(std::launch::async, [&] { return openChecked(path, &copy); });
        QString refused;
        bool waited = false;
        const auto passed = [&] {
            if (!waited) {
                refused = checked.get();
                waited = true;
            }
            return refused.isEmpty();
        };
        const SnapshotResult snapshot = takeSnapshot(db.handle(), true, passed);
        if (!passed()) {
            result.reason = refused;
        } else if (!snapshot.saved()) {
            result.snapshotFailed = true;
            result.reason = snapshot.reason;
        }
    } else {
        result.reason = openChecked(path, &copy);
    }
    if (!result.reason.isEmpty()) {
        sqlite3_close(copy);
        return result;
    }
    if (beforeCopy)
        beforeCopy();
    // All pages in one step, in one write transaction of the open connection.
    sqlite3_backup* backup = sqlite3_backup_init(db.handle(), "main", copy, "main");
    int rc = backup ? SQLITE_OK : sqlite3_errcode(db.handle());
    if (backup) {
        sqlite3_backup_step(backup, -1);
        rc = sqlite3_backup_finish(backup);
    }
    sqlite3_close(copy);
    if (rc != SQLITE_OK) {
        result.reason = engineReason(db.handle(), rc);
        return result;
    }
    result.changed = true;
    try {
        db.upgrade();
    } catch (const DbError& e) {
        result.reason = QString::fromStdString(e.what());
    }
    return result;
}
