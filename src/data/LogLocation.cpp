#include "LogLocation.h"

#include "Restore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kLogFile = u"ForkData.mdb"_s;
// The first copy is written under the log's name plus this, and renamed once it has passed.
const QString kPartial = u".partial"_s;

// A system error's words as they read inside a sentence: "permission denied".
QString errnoText(int err) {
    QString text = QString::fromLocal8Bit(std::strerror(err));
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

// Why an engine call on `db` failed, in words that fit inside a sentence.
QString shortEngineReason(sqlite3* db, int rc) {
    const int err = db ? sqlite3_system_errno(db) : 0;
    if ((rc & 0xff) == SQLITE_FULL || err == ENOSPC || err == EDQUOT)
        return u"the disk is full"_s;
    if (err != 0)
        return errnoText(err);
    return QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

// Copies the database at `from` page by page into a new file at `to`; the empty text, or why
// it failed. The copy is written in one step without a journal: when it fails it is deleted.
QString copyDatabase(const QString& from, const QString& to) {
    sqlite3* source = nullptr;
    sqlite3* copy = nullptr;
    int rc = sqlite3_open_v2(from.toUtf8().constData(), &source, SQLITE_OPEN_READONLY, nullptr);
    QString reason = rc == SQLITE_OK ? QString() : shortEngineReason(source, rc);
    if (reason.isEmpty()) {
        rc = sqlite3_open_v2(to.toUtf8().constData(), &copy,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(copy, "PRAGMA journal_mode = OFF", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_backup* backup = sqlite3_backup_init(copy, "main", source, "main");
            if (!backup) {
                rc = sqlite3_errcode(copy);
            } else {
                sqlite3_backup_step(backup, -1);
                rc = sqlite3_backup_finish(backup);
            }
        }
        if (rc != SQLITE_OK)
            reason = shortEngineReason(copy, rc);
    }
    if (sqlite3_close(copy) != SQLITE_OK && reason.isEmpty())
        reason = shortEngineReason(copy, sqlite3_errcode(copy));
    sqlite3_close(source);
    return reason;
}

// Makes the folder at `path` with every missing folder above it, readable by its owner only (a
// diet log is private). Fills `made` with the folders made, outermost first; the empty text, or
// why one could not be made.
QString makeFolders(const QString& path, QStringList* made) {
    QStringList missing;
    for (QString f = QDir::cleanPath(path); !QFileInfo::exists(f); f = QFileInfo(f).absolutePath())
        missing.prepend(f);
    for (const QString& f : missing) {
        if (::mkdir(QFile::encodeName(f).constData(), 0700) != 0)
            return errnoText(errno);
        made->append(f);
    }
    return QString();
}

// Flushes the entry of a renamed file to the disk along with its folder's.
void syncFolder(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The first copy of the delivered database into `path`, through a partial file that gets the
// log's name only once it has passed its check. When it fails the partial file, the log's
// folder and the folders made for it go, and the text says why.
QString makeFirstCopy(const QString& delivered, const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    const QString partial = path + kPartial;
    QStringList made;
    QString reason = makeFolders(folder, &made);
    if (reason.isEmpty() && QFile::exists(partial) && !QFile::remove(partial))
        reason = u"a copy left by an earlier start could not be removed"_s;
    if (reason.isEmpty())
        reason = copyDatabase(delivered, partial);
    if (reason.isEmpty() && !checkBackup(partial).isEmpty())
        reason = u"the copy did not pass its check"_s;
    if (reason.isEmpty() && !QFile::rename(partial, path))
        reason = u"the copy could not be given its name"_s;
    if (reason.isEmpty()) {
        syncFolder(folder);
        return reason;
    }
    QFile::remove(partial);
    // An empty Data folder would stand for a log gone missing: the next start must copy again.
    QDir().rmdir(folder);
    for (auto f = made.crbegin(); f != made.crend(); ++f)
        QDir().rmdir(*f);
    return reason;
}

} // namespace

QString sharedFilesFolder(const QString& programDir) {
    return QDir::cleanPath(QDir(programDir).absoluteFilePath(u"../share/forkwise"_s));
}

QString personalLogPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           u"/Forkwise/Data/"_s + kLogFile;
}

DietLogPlace prepareDietLog(const QString& programDir) {
    const QDir program(programDir);
    if (QFileInfo(program.filePath(u"Data"_s)).isDir())
        return {DietLogPlace::Ready, program.absoluteFilePath(u"Data/"_s + kLogFile), {}};

    // The first start is the one that finds no Data folder, or one that holds only what a first
    // start cut short left behind.
    const QString path = personalLogPath();
    if (QFileInfo(path).dir().exists() &&
        (QFileInfo::exists(path) || !QFileInfo::exists(path + kPartial)))
        return {DietLogPlace::Ready, path, {}};
    const QString delivered = QDir(sharedFilesFolder(programDir)).filePath(kLogFile);
    if (!QFileInfo(delivered).isFile() || !checkBackup(delivered).isEmpty())
        return {DietLogPlace::DeliveredUnusable, delivered, {}};
    const QString reason = makeFirstCopy(delivered, path);
    return {reason.isEmpty() ? DietLogPlace::Ready : DietLogPlace::NotCreated, path, reason};
}

QString logNotCreatedText(const DietLogPlace& place) {
    return u"Forkwise could not create your diet log "_s + QDir::toNativeSeparators(place.path) +
           u": "_s + place.reason +
           u". Free some space (or make the folder writable) and start Forkwise again."_s;
}
