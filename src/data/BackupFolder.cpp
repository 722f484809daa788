#include "BackupFolder.h"

#include "Seams.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFolder = u"Backups"_s;
const QString kStampFormat = u"yyyy-MM-dd HHmmss"_s;
const QString kPartial = u".partial"_s;

struct Copy {
    BackupInfo info;
    int serial = 1;
};

bool newerFirst(const Copy& a, const Copy& b) {
    return a.info.taken != b.info.taken ? a.info.taken > b.info.taken : a.serial > b.serial;
}

// The name of a copy: stamp in the first capture, serial in the second.
QRegularExpression copyPattern(const QString& base, const QString& ext, const QString& suffix) {
    return QRegularExpression(u"^"_s + QRegularExpression::escape(base) +
                              u" (\\d{4}-\\d\\d-\\d\\d \\d{6})(?: \\((\\d+)\\))?"_s +
                              QRegularExpression::escape(ext + suffix) + u"$"_s);
}

bool statOf(const QString& path, struct stat* st) {
    return ::stat(QFile::encodeName(path).constData(), st) == 0;
}

// Indexes into `copies` (dated no later than now, newest first) of those rotation keeps. The
// weeks and months count back from the newest copy, not from the clock's today, so a clock set
// wrong thins out nothing it should not.
QList<qsizetype> toKeep(const QList<BackupInfo>& copies) {
    QList<qsizetype> keep;
    if (copies.isEmpty())
        return keep;
    const auto keepFirst = [&](auto inPeriod) {
        for (qsizetype i = 0; i < copies.size(); ++i)
            if (inPeriod(copies[i].taken.date())) {
                if (!keep.contains(i))
                    keep << i;
                return;
            }
    };
    for (qsizetype i = 0; i < std::min<qsizetype>(5, copies.size()); ++i)
        keep << i;
    const QDate newest = copies.first().taken.date();
    const QDate monday = newest.addDays(1 - newest.dayOfWeek());
    for (int w = 0; w < 4; ++w) {
        const QDate from = monday.addDays(-7 * qint64(w));
        keepFirst([&](const QDate& d) { return d >= from && d < from.addDays(7); });
    }
    for (int m = 0; m < 6; ++m) {
        const QDate month = newest.addMonths(-m);
        keepFirst(
            [&](const QDate& d) { return d.year() == month.year() && d.month() == month.month(); });
    }
    return keep;
}

} // namespace

BackupFolder::BackupFolder(const QString& dbPath) : log_(dbPath) {
    const QFileInfo db(dbPath);
    folder_ = db.absoluteDir().filePath(kFolder);
    base_ = db.completeBaseName();
    ext_ = db.suffix().isEmpty() ? QString() : u'.' + db.suffix();
}

QString BackupFolder::copyPath(const QDateTime& when, int serial) const {
    return QDir(folder_).filePath(base_ + u' ' + when.toString(kStampFormat) +
                                  (serial > 1 ? u" (%1)"_s.arg(serial) : QString()) + ext_);
}

QString BackupFolder::damagedPath(const QDateTime& when) const {
    return QDir(folder_).filePath(base_ + u" damaged "_s + when.toString(kStampFormat) + ext_);
}

QStringList BackupFolder::partials() const {
    QStringList found;
    const QRegularExpression pattern = copyPattern(base_, ext_, kPartial);
    for (const QString& name : QDir(folder_).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (pattern.match(name).hasMatch())
            found << QDir(folder_).filePath(name);
    return found;
}

QList<BackupInfo> BackupFolder::copies(const QDateTime& now, qsizetype* current) const {
    const QRegularExpression pattern = copyPattern(base_, ext_, QString());
    struct stat log {};
    const bool haveLog = statOf(log_, &log);
    QList<Copy> past, future;
    for (const QFileInfo& file :
         QDir(folder_).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        const QRegularExpressionMatch m = pattern.match(file.fileName());
        Copy copy;
        copy.info.taken = QDateTime::fromString(m.captured(1), kStampFormat);
        struct stat st {};
        if (!m.hasMatch() || !copy.info.taken.isValid() || !statOf(file.filePath(), &st) ||
            (haveLog && st.st_dev == log.st_dev && st.st_ino == log.st_ino))
            continue;
        copy.info.path = file.filePath();
        copy.info.size = st.st_size;
        copy.serial = m.captured(2).isEmpty() ? 1 : m.captured(2).toInt();
        (copy.info.taken > now ? future : past) << copy;
    }
    std::sort(past.begin(), past.end(), newerFirst);
    std::sort(future.begin(), future.end(), newerFirst);
    if (current)
        *current = past.size();
    QList<BackupInfo> list;
    for (const QList<Copy>* part : {&past, &future})
        for (const Copy& copy : *part)
            list << copy.info;
    return list;
}

void BackupFolder::rotate(const QDateTime& now, const QString& keep) const {
    qsizetype current = 0;
    const QList<BackupInfo> candidates = copies(now, &current).first(current);
    const QList<qsizetype> kept = toKeep(candidates);
    for (qsizetype i = 0; i < candidates.size(); ++i)
        if (!kept.contains(i) && !SameFile(candidates[i].path, keep))
            QFile::remove(candidates[i].path);
}

QList<BackupInfo> ListBackups(const QString& dbPath) {
    return BackupFolder(dbPath).copies(Clock::now());
}

void RemovePartialCopies(const QString& dbPath) {
    for (const QString& partial : BackupFolder(dbPath).partials())
        QFile::remove(partial);
}

bool SameFile(const QString& a, const QString& b) {
    struct stat x {
    }, y{};
    return !a.isEmpty() && !b.isEmpty() && statOf(a, &x) && statOf(b, &y) && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
}

QString EngineReason(sqlite3* db, int rc) {
    const int err = db ? sqlite3_system_errno(db) : 0;
    if ((rc & 0xff) == SQLITE_FULL || err == ENOSPC || err == EDQUOT)
        return u"The disk is full."_s;
    QString text =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    if (err != 0)
        text += u" ("_s + QString::fromLocal8Bit(std::strerror(err)) + u')';
    return u"SQLite reported: "_s + text + u'.';
}

QString IntegrityProblem(sqlite3* db, qint64 size) {
    // The check looks up every row in every index; reading the pages through a map of the whole
    // file instead of a call each halves its time on a household log.
    int rc = sqlite3_exec(db, u"PRAGMA mmap_size = %1"_s.arg(size).toUtf8().constData(), nullptr,
                          nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr);
    QString reason;
    if (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        const QString answer =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        if (answer != u"ok"_s || sqlite3_step(st) != SQLITE_DONE)
            reason = u"The copy failed its integrity check: "_s + answer;
    } else {
        reason = EngineReason(db, rc);
    }
    sqlite3_finalize(st);
    return reason;
}

QString SyncPath(const QString& path, bool folder) {
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

sqlite3_file* LogFile(sqlite3* db) {
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods)
        return nullptr;
    return file;
}
