#include "Restore.h"

#include "Database.h"
#include "SchemaLayout.h"
#include "SchemaVersion.h"
#include "Seams.h"
#include "Snapshot.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <atomic>
#include <future>
#include <sqlite3.h>
#include <thread>
#include <utility>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

// The copy's header is read before SQLite opens it. Its version tells a newer program's file
// apart whatever that holds. Bytes 18 and 19 say how the file keeps its changes: 1 in the file
// itself, as every copy this program makes; 2 in a "-wal" file beside it, which SQLite would
// make in Backups just to read the copy, and which a restore would carry over into the log.
CopyFault readHeader(const QString& path, int* version) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return CopyFault::Damaged;
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return CopyFault::NotOurs;
    *version = qFromBigEndian<qint32>(header.constData() + 60);
    if (*version > kSchemaVersion)
        return CopyFault::Newer;
    if (*version < 0 || header[18] != 1 || header[19] != 1)
        return CopyFault::NotOurs;
    return CopyFault::None;
}

// Opens the copy at `path` read-only into `db` and compares its layout with the program's for
// its version; its pages are not checked. `db` may be open whatever the answer.
CopyFault openCopy(const QString& path, sqlite3** db) {
    int version = 0;
    if (const CopyFault fault = readHeader(path, &version); fault != CopyFault::None)
        return fault;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), db,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    QStringList layout;
    if (rc == SQLITE_OK)
        layout = DescribeLayout(*db, &rc);
    switch (rc & 0xff) {
    case SQLITE_OK:
        return LayoutDifference(layout, ProgramLayout(version)).isEmpty() ? CopyFault::None
                                                                          : CopyFault::NotOurs;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_IOERR:
        return CopyFault::Damaged;
    default:
        return CopyFault::NotOurs;
    }
}

// What the Restore Backup list shows of a fault, and what a refused restore says of it.
std::pair<QString, QString> wordsFor(CopyFault fault) {
    switch (fault) {
    case CopyFault::None:
        break;
    case CopyFault::NotOurs:
        return {u"not a Forkwise copy"_s, u"The copy is not a Forkwise diet log."_s};
    case CopyFault::Damaged:
        return {u"damaged"_s, u"The copy is damaged."_s};
    case CopyFault::Newer:
        return {u"newer version"_s, u"The copy was written by a newer version of Forkwise."_s};
    }
    return {};
}

QString faultSentence(CopyFault fault) {
    return wordsFor(fault).second;
}

// The copy at `path` opened read-only into `db`, with why it cannot be restored (empty when it
// can): header, layout and then every page.
QString openChecked(const QString& path, sqlite3** db) {
    const CopyFault fault = openCopy(path, db);
    if (fault != CopyFault::None)
        return faultSentence(fault);
    return IntegrityProblem(*db, QFileInfo(path).size());
}

// Stops a statement once `limit` milliseconds have passed since the deadline was made.
struct Deadline {
    QElapsedTimer timer;
    qint64 limit;
    static int expired(void* self) {
        const auto* d = static_cast<Deadline*>(self);
        return d->timer.hasExpired(d->limit) ? 1 : 0;
    }
};

} // namespace

QString CopyFaultText(CopyFault fault) {
    return wordsFor(fault).first;
}

CopySummary SummarizeBackup(const QString& path, const QStringList& users, int limitMs) {
    CopySummary summary;
    sqlite3* db = nullptr;
    summary.fault = openCopy(path, &db);
    sqlite3_stmt* st = nullptr;
    if (summary.fault == CopyFault::None &&
        sqlite3_prepare_v2(db, "SELECT count(*) FROM DietActivity WHERE UserName = ?", -1, &st,
                           nullptr) == SQLITE_OK) {
        // Counting reads a user's part of the index page by page; a map of the file saves a
        // call for each. A file that takes too long (a slow disk, a huge log) shows "?".
        sqlite3_exec(db,
                     u"PRAGMA mmap_size = %1"_s.arg(QFileInfo(path).size()).toUtf8().constData(),
                     nullptr, nullptr, nullptr);
        Deadline deadline{{}, limitMs};
        deadline.timer.start();
        sqlite3_progress_handler(db, 1000, &Deadline::expired, &deadline);
        summary.counted = true;
        for (const QString& user : users) {
            sqlite3_reset(st);
            sqlite3_bind_text(st, 1, user.toUtf8().constData(), -1, SQLITE_TRANSIENT);
            const int rc = sqlite3_step(st);
            if (rc != SQLITE_ROW) {
                summary.counted = false;
                if ((rc & 0xff) != SQLITE_INTERRUPT)
                    summary.fault = CopyFault::Damaged;
                break;
            }
            summary.counts << sqlite3_column_int64(st, 0);
        }
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    if (!summary.counted)
        summary.counts.clear();
    return summary;
}

QList<CopySummary> SummarizeBackups(const QStringList& paths, const QStringList& users) {
    // Each copy is read through a connection of its own, so the copies are counted side by side,
    // one a thread.
    QList<CopySummary> summaries(paths.size());
    std::atomic<qsizetype> next{0};
    const auto work = [&] {
        for (qsizetype i; (i = next++) < paths.size();)
            summaries[i] = SummarizeBackup(paths[i], users);
    };
    std::vector<std::thread> threads(
        std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), size_t(paths.size())));
    for (std::thread& thread : threads)
        thread = std::thread(work);
    for (std::thread& thread : threads)
        thread.join();
    return summaries;
}

QString CheckBackup(const QString& path) {
    sqlite3* db = nullptr;
    QString reason = openChecked(path, &db);
    sqlite3_close(db);
    return reason;
}

QString KeepDamagedLog(Database& db) {
    sqlite3_file* log = db.isOpen() ? LogFile(db.handle()) : nullptr;
    const char* file = db.isOpen() ? sqlite3_db_filename(db.handle(), "main") : nullptr;
    if (!log || !file)
        return u"The diet log is not open."_s;
    const BackupFolder folder(QString::fromUtf8(file));
    QDir().mkpath(folder.path());
    QFile out(folder.damagedPath(Clock::now()));
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return u"\"%1\" could not be written: %2"_s.arg(QDir::toNativeSeparators(out.fileName()),
                                                        out.errorString());
    // Read through the connection's own file handle, which keeps the lock.
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
    const QString synced = ok ? SyncPath(out.fileName(), false) : QString();
    if (ok && synced.isEmpty())
        return QString();
    out.remove();
    return synced.isEmpty() ? u"The disk may be full."_s : synced;
}

RestoreResult RestoreFromCopy(Database& db, const QString& path, bool snapshotFirst,
                              const std::function<void()>& beforeCopy) {
    RestoreResult result;
    if (!sqlite3_get_autocommit(db.handle())) {
        result.reason = u"A change to the diet log is still being written."_s;
        return result;
    }
    const QString logPath = QString::fromUtf8(sqlite3_db_filename(db.handle(), "main"));
    // The log itself under another name would be read through a second descriptor.
    if (SameFile(path, logPath)) {
        result.reason = faultSentence(CopyFault::NotOurs);
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
        const SnapshotResult snapshot = TakeSnapshotUnrotated(db.handle(), passed);
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
        result.reason = EngineReason(db.handle(), rc);
        return result;
    }
    result.changed = true;
    // Only now may older copies go, and never the one the log was restored from.
    if (snapshotFirst)
        BackupFolder(logPath).rotate(Clock::now(), path);
    try {
        db.upgrade();
    } catch (const DbError& e) {
        result.reason = QString::fromStdString(e.what());
    }
    return result;
}
