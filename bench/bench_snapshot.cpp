// forkwise-bench-snapshot: how long the checked copy taken when the program closes costs, on a
// copy of a household log opened the way the program opens it.
//
// Each measured run first changes one diet entry (so the copy is not skipped) and then takes a
// snapshot without forcing it, which also times the comparison with the newest copy that finds
// the change. Then the skipped snapshot of the unchanged file is timed, which reads both files
// in full. The two costly parts of a copy are timed on their own as well: the page copy into a
// new file and the integrity check of a copy (which the snapshot runs beside the flush of the
// copy to the disk). Rotation keeps the folder at its usual size.

#include "Database.h"
#include "Seams.h"
#include "Snapshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

void print(const QString& line) {
    std::fputs(qPrintable(line + u'\n'), stdout);
}

int fail(const QString& why) {
    std::fputs(qPrintable(u"forkwise-bench-snapshot: "_s + why + u'\n'), stderr);
    return 1;
}

int usage() {
    std::fputs("usage: forkwise-bench-snapshot LOG_DB [--runs N] [--dir TEMP_PARENT]\n", stderr);
    return 2;
}

double msOf(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

struct Figures {
    std::vector<double> ms;
    void add(double v) { ms.push_back(v); }
    double median() const {
        std::vector<double> v = ms;
        std::sort(v.begin(), v.end());
        const size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }
    QString line() const {
        return u"median %1 ms (min %2, max %3)"_s.arg(median(), 0, 'f', 1)
            .arg(*std::min_element(ms.begin(), ms.end()), 0, 'f', 1)
            .arg(*std::max_element(ms.begin(), ms.end()), 0, 'f', 1);
    }
};

// The page copy alone, as the snapshot makes it, into `path`.
bool copyPages(sqlite3* log, const QString& path) {
    sqlite3* dest = nullptr;
    bool ok = sqlite3_open(path.toUtf8().constData(), &dest) == SQLITE_OK &&
              sqlite3_exec(dest, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF", nullptr,
                           nullptr, nullptr) == SQLITE_OK;
    if (ok) {
        sqlite3_backup* backup = sqlite3_backup_init(dest, "main", log, "main");
        ok = backup && sqlite3_backup_step(backup, -1) == SQLITE_DONE;
        ok = sqlite3_backup_finish(backup) == SQLITE_OK && ok;
    }
    sqlite3_close(dest);
    return ok;
}

bool integrityCheck(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    bool ok =
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
            SQLITE_OK &&
        sqlite3_exec(db, "PRAGMA mmap_size = 1073741824", nullptr, nullptr, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW &&
        qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "ok") == 0;
    sqlite3_finalize(st);
    sqlite3_close(db);
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QString log, parent = QDir::tempPath();
    int runs = 10;
    for (qsizetype i = 0; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == u"--runs"_s && i + 1 < args.size())
            runs = args[++i].toInt(&ok);
        else if (args[i] == u"--dir"_s && i + 1 < args.size())
            parent = args[++i];
        else if (args[i].startsWith(u'-') || !log.isEmpty())
            return usage();
        else
            log = args[i];
        if (!ok || runs < 1)
            return usage();
    }
    if (log.isEmpty())
        return usage();
    if (!QFileInfo(log).isFile())
        return fail(log + u": no such file"_s);

    QTemporaryDir folder(parent + u"/forkwise-snapshot-XXXXXX"_s);
    const QString path = folder.filePath(u"Data/ForkData.mdb"_s);
    if (!folder.isValid() || !QDir(folder.path()).mkpath(u"Data"_s) || !QFile::copy(log, path))
        return fail(u"cannot copy the log into "_s + folder.path());
    Database db;
    Figures taken, skipped, pages, check;
    qint64 entries = 0;
    try {
        db.openExclusive(path);
        sqlite3_stmt* st = db.prepare(u"SELECT count(*) FROM DietActivity"_s);
        if (sqlite3_step(st) == SQLITE_ROW)
            entries = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);

        // The first copy of the run, untimed, like the one the last run of the program left.
        if (const SnapshotResult r = takeSnapshot(db); r.status != SnapshotResult::Taken)
            return fail(u"the first snapshot was not taken: "_s + r.reason);
        for (int i = 0; i < runs; ++i) {
            // Each copy a second later than the one before, as a run of the program would be.
            Clock::setFixed(QDateTime::currentDateTime().addSecs(i + 1));
            db.execute(u"UPDATE DietActivity SET NumServings = ? WHERE DietId = "
                       "(SELECT max(DietId) FROM DietActivity)"_s,
                       {1000 + i});
            QElapsedTimer t;
            t.start();
            const SnapshotResult r = takeSnapshot(db);
            taken.add(msOf(t));
            if (r.status != SnapshotResult::Taken)
                return fail(u"a snapshot of a changed log was not taken: "_s + r.reason);
        }
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer t;
            t.start();
            const SnapshotResult r = takeSnapshot(db);
            skipped.add(msOf(t));
            if (r.status != SnapshotResult::Skipped)
                return fail(u"a snapshot of an unchanged log was not skipped: "_s + r.reason);
        }
        const QString scratch = folder.filePath(u"scratch.mdb"_s);
        for (int i = 0; i < runs; ++i) {
            QFile::remove(scratch);
            QElapsedTimer t;
            t.start();
            if (!copyPages(db.handle(), scratch))
                return fail(u"the page copy failed"_s);
            pages.add(msOf(t));
            t.restart();
            if (!integrityCheck(scratch))
                return fail(u"the integrity check failed"_s);
            check.add(msOf(t));
        }
    } catch (const DbError& e) {
        return fail(QString::fromUtf8(e.what()));
    }
    const QList<BackupInfo> copies = listBackups(path);

    print(u"Snapshot of a household log on close: %1 (%2 bytes, %3 diet entries), warm file "
          "cache, copies in %4"_s.arg(log)
              .arg(QFileInfo(log).size())
              .arg(entries)
              .arg(QFileInfo(path).absolutePath() + u"/Backups"_s));
    print(u"  %1 snapshots after a change: %2   (goal: closing under 1 s in all)"_s.arg(runs).arg(
        taken.line()));
    print(u"    of which, timed on their own: page copy %1; integrity check %2"_s.arg(
        pages.line(), check.line()));
    print(u"  %1 skipped snapshots of the unchanged log: %2"_s.arg(runs).arg(skipped.line()));
    print(u"  copies kept after rotation: %1"_s.arg(copies.size()));
    return 0;
}
