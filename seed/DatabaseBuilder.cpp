#include "DatabaseBuilder.h"

#include "CatalogueWriter.h"
#include "SchemaVersion.h"
#include "UsdaCatalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace seed {
namespace {

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool readText(const QString& path, QByteArray* text, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = u"Cannot read %1: %2"_s.arg(path, file.errorString());
        return false;
    }
    *text = file.readAll();
    return true;
}

// A file of its own beside the target, removed again unless it was moved into place.
class TempFile {
public:
    ~TempFile() {
        if (!path_.isEmpty()) {
            ::unlink(path_.constData());
            ::unlink((path_ + "-journal").constData());
        }
    }
    // Creates an empty file with a fresh name; never opens one that is already there.
    bool create(const QString& target, QString* error) {
        for (int attempt = 0; attempt < 16; ++attempt) {
            const QByteArray name =
                QFile::encodeName(target + u".building-"_s +
                                  QString::number(QRandomGenerator::global()->generate(), 36));
            const int fd = ::open(name.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
            if (fd >= 0) {
                ::close(fd);
                path_ = name;
                return true;
            }
            if (errno != EEXIST)
                break;
        }
        *error = u"Cannot create a file beside %1: %2"_s.arg(target, systemError());
        return false;
    }
    // Gives the file the target's name only if nothing has that name yet: link() never replaces.
    bool moveTo(const QString& target, QString* error) {
        if (::link(path_.constData(), QFile::encodeName(target).constData()) != 0) {
            *error = errno == EEXIST ? u"%1 already exists; it was left untouched"_s.arg(target)
                                     : u"Cannot create %1: %2"_s.arg(target, systemError());
            return false;
        }
        return true;
    }
    QString path() const { return QFile::decodeName(path_); }

private:
    QByteArray path_;
};

// Runs SQL text of one or more statements, such as a whole .sql file.
bool execute(sqlite3* db, const QByteArray& sql, const QString& what, QString* error) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    *error = u"%1: %2"_s.arg(what, QString::fromUtf8(message));
    sqlite3_free(message);
    return false;
}

// Fills an empty database file in one transaction.
bool fill(const QString& file, const QByteArray& schema, const QByteArray& standingRows,
          const UsdaCatalogue& catalogue, BuildSummary* summary, QString* error) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    bool ok = rc == SQLITE_OK;
    if (!ok)
        *error = u"Cannot open %1: %2"_s.arg(file, QString::fromUtf8(sqlite3_errstr(rc)));
    ok = ok && execute(db, "BEGIN", u"Begin"_s, error) &&
         execute(db, schema, u"schema.sql"_s, error) &&
         execute(db, "PRAGMA user_version = " + QByteArray::number(kSchemaVersion),
                 u"Schema version"_s, error) &&
         execute(db, standingRows, u"standing_rows.sql"_s, error) &&
         writeCatalogue(db, catalogue, summary, error) && execute(db, "COMMIT", u"Commit"_s, error);
    if (sqlite3_close(db) != SQLITE_OK && ok) {
        *error = u"Cannot close %1"_s.arg(file);
        ok = false;
    }
    return ok;
}

} // namespace

QString defaultSeedDir() {
    return QStringLiteral(FORKWISE_SEED_DIR);
}

bool buildDatabase(const QString& path, const BuildOptions& options, QString* error,
                   BuildSummary* summary) {
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink()) {
        *error = u"%1 already exists; it was left untouched"_s.arg(path);
        return false;
    }
    UsdaCatalogue catalogue;
    QByteArray schema;
    QByteArray standingRows;
    if (!loadCatalogue(options.seedDir + u"/usda"_s, options.onlyFoods, &catalogue, error) ||
        !readText(options.seedDir + u"/schema.sql"_s, &schema, error) ||
        !readText(options.seedDir + u"/standing_rows.sql"_s, &standingRows, error))
        return false;
    if (!QDir().mkpath(target.absolutePath())) {
        *error = u"Cannot create the folder %1"_s.arg(target.absolutePath());
        return false;
    }
    // A half-built file never carries the real name: the build goes into a file of its own,
    // which takes the name only once it is complete and only if the name is still free.
    TempFile temp;
    return temp.create(target.absoluteFilePath(), error) &&
           fill(temp.path(), schema, standingRows, catalogue, summary, error) &&
           temp.moveTo(target.absoluteFilePath(), error);
}

} // namespace seed
