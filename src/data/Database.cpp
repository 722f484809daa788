#include "Database.h"

#include "SchemaLayout.h"
#include "SchemaVersion.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QVariant>
#include <sqlite3.h>
#include <unistd.h>

namespace {

// The tables every Forkwise file holds, of any version; a file without them is not ours to open.
const char* const kRequiredTables[] = {"FoodGroup",     "FoodItem", "DietActivity",
                                       "USDA_Measures", "TableKey", "CONFIG"};

// A file of version 0 holds gram weights rounded to whole grams; the measures they were taken
// from still hold the exact figures. A row whose measure is gone keeps what it has.
const char* const kExactGramWeights[] = {
    "UPDATE FoodItem SET USDA_GM_WT = m.GM_WT FROM USDA_Measures m WHERE m.NDB_NO = "
    "FoodItem.USDA_NDB_NO AND m.MSRE_NO = FoodItem.USDA_MSRE_NO AND m.GM_WT IS NOT NULL",
    "UPDATE DietActivity SET USDA_GM_WT = m.GM_WT FROM USDA_Measures m WHERE m.NDB_NO = "
    "DietActivity.USDA_NDB_NO AND m.MSRE_NO = DietActivity.USDA_MSRE_NO AND m.GM_WT IS NOT NULL",
};

// Files before version 2 have no list of each user's days: it is made from their entries. The
// table is laid out as seed/schema.sql lays it out.
const char* const kDietDays[] = {
    "CREATE TABLE DietDay (UserName TEXT COLLATE NOCASE NOT NULL, DietDate DATE NOT NULL, "
    "PRIMARY KEY (UserName, DietDate)) WITHOUT ROWID",
    "INSERT INTO DietDay (UserName, DietDate) SELECT DISTINCT UserName, DietDate FROM DietActivity",
};

// Whether the journal SQLite writes beside the file could be made: the folder must be writable.
bool folderWritable(const QString& path) {
    return ::access(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), W_OK | X_OK) ==
           0;
}

QString message(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

} // namespace

Database::~Database() {
    close();
}

sqlite3* Database::handle() const {
    if (!db_)
        throw DbError("The database is not open.");
    return db_;
}

void Database::openDamaged(const QString& path) {
    close();
    sqlite3* db = nullptr;
    if (QFileInfo(path).isFile() &&
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) == SQLITE_OK &&
        // Without writable_schema SQLite refuses to start a transaction on a file shorter than
        // its header says, as a crash can leave it.
        sqlite3_exec(db, "PRAGMA locking_mode = EXCLUSIVE; PRAGMA writable_schema = ON", nullptr,
                     nullptr, nullptr) == SQLITE_OK) {
        db_ = db;
        return;
    }
    const QString why = message(db);
    sqlite3_close_v2(db);
    throw DbError(why.toStdString());
}

void Database::openExclusive(const QString& path) {
    close();
    // Opening never creates a file: a missing file is an error, not a new empty log.
    if (!QFileInfo(path).isFile())
        throw DbOpenError(DbOpenError::Missing, "Database file not found: " + path.toStdString());
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        QString why = message(db);
        sqlite3_close_v2(db);
        throw DbOpenError(DbOpenError::Failed, why.toStdString());
    }
    db_ = db;
    try {
        sqlite3_extended_result_codes(db_, 1);
        // Held exclusively for the whole run: the lock taken by the first write transaction is
        // kept until the connection closes, so no other process can read or write the file.
        execute(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
        execute(QStringLiteral("PRAGMA synchronous = FULL"));
        execute(QStringLiteral("PRAGMA foreign_keys = OFF"));
        // Reading the schema proves the file is a database (a damaged header fails here) and
        // that it is a Forkwise database; nothing is written. The read lock it takes is kept.
        if (!hasProgramTables(db_)) {
            if (const int ec = sqlite3_errcode(db_) & 0xff;
                ec != SQLITE_OK && ec != SQLITE_ROW && ec != SQLITE_DONE)
                fail(QStringLiteral("Reading the schema"));
            throw DbOpenError(DbOpenError::NotOurs, "The database lacks the program's tables.");
        }
        // A file from a newer program may hold what this one would spoil: it is left untouched.
        const int version = userVersion();
        if (version > kSchemaVersion)
            throw DbOpenError(DbOpenError::Newer, "The database has version " +
                                                      std::to_string(version) +
                                                      ", newer than this program's " +
                                                      std::to_string(kSchemaVersion) + ".");
        // This program makes no trigger and no view; one would run or show a stranger's SQL on
        // the log (a copy restored by an older version may have brought one in).
        if (const StrangeObject strange = findStrangeObject(db_); strange.found())
            throw DbOpenError(DbOpenError::Strange,
                              "The database holds a " + strange.kind.toStdString() + ".",
                              strange.kind + QStringLiteral(" \"") + strange.name + u'"');
        // SQLite opens a file it may not write to read-only without a word, and a folder that
        // cannot take the journal fails only at the first change: both are told at once.
        if (sqlite3_db_readonly(db_, "main") == 1 || !folderWritable(path))
            throw DbOpenError(DbOpenError::ReadOnly, "The database cannot be written to.");
        // Only a file proven to be ours is locked: taking the write lock on an empty file would
        // turn it into a database.
        execute(QStringLiteral("BEGIN EXCLUSIVE"));
        execute(QStringLiteral("COMMIT"));
    } catch (const DbOpenError&) {
        close();
        throw;
    } catch (const DbError& e) {
        // Told apart by what SQLite found on the way.
        const int ec = sqlite3_errcode(db_) & 0xff;
        close();
        const DbOpenError::Kind kind = ec == SQLITE_CORRUPT  ? DbOpenError::Damaged
                                       : ec == SQLITE_NOTADB ? DbOpenError::NotADatabase
                                       : ec == SQLITE_BUSY || ec == SQLITE_LOCKED
                                           ? DbOpenError::Locked
                                           : DbOpenError::Failed;
        throw DbOpenError(kind, e.what());
    } catch (...) {
        close();
        throw;
    }
    try {
        upgrade();
    } catch (...) {
        close();
        throw;
    }
}

void Database::upgrade() {
    const int version = userVersion();
    if (version >= kSchemaVersion)
        return;
    execute(QStringLiteral("BEGIN EXCLUSIVE"));
    try {
        // An older file is brought up to date all at once or not at all.
        if (version < 1)
            for (const char* sql : kExactGramWeights)
                execute(QString::fromLatin1(sql));
        if (version < 2)
            for (const char* sql : kDietDays)
                execute(QString::fromLatin1(sql));
        execute(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
        execute(QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

QString Database::quickCheck() {
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v2(handle(), "PRAGMA quick_check", -1, &st, nullptr) == SQLITE_OK
                       ? sqlite3_step(st)
                       : SQLITE_ERROR;
    QString answer =
        rc == SQLITE_ROW
            ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)))
            : message(db_);
    sqlite3_finalize(st);
    return answer == u"ok" ? QString() : answer;
}

bool hasProgramTables(sqlite3* db) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db,
                           "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? "
                           "COLLATE NOCASE",
                           -1, &st, nullptr) != SQLITE_OK)
        return false;
    bool all = true;
    for (const char* table : kRequiredTables) {
        sqlite3_reset(st);
        sqlite3_bind_text(st, 1, table, -1, SQLITE_STATIC);
        all = all && sqlite3_step(st) == SQLITE_ROW && sqlite3_column_int(st, 0) == 1;
    }
    sqlite3_finalize(st);
    return all;
}

int Database::userVersion() const {
    sqlite3_stmt* st = prepare(QStringLiteral("PRAGMA user_version"));
    const bool ok = sqlite3_step(st) == SQLITE_ROW;
    const int version = ok ? sqlite3_column_int(st, 0) : 0;
    sqlite3_finalize(st);
    if (!ok)
        fail(QStringLiteral("PRAGMA user_version"));
    return version;
}

void Database::close() {
    if (!db_)
        return;
    // Statements still open would keep the file locked after close; finalize them all.
    while (sqlite3_stmt* st = sqlite3_next_stmt(db_, nullptr))
        sqlite3_finalize(st);
    sqlite3_close(db_);
    db_ = nullptr;
}

sqlite3_stmt* Database::prepare(const QString& sql) const {
    sqlite3_stmt* st = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(handle(), text.constData(), int(text.size()), &st, nullptr) != SQLITE_OK)
        fail(QStringLiteral("Cannot prepare \"%1\"").arg(sql));
    return st;
}

void Database::bind(sqlite3_stmt* stmt, const QVariantList& params) const {
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params[i];
        const int n = i + 1;
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(stmt, n);
        } else {
            switch (v.typeId()) {
            case QMetaType::Bool:
                rc = sqlite3_bind_int(stmt, n, v.toBool() ? 1 : 0);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::Long:
            case QMetaType::LongLong:
            case QMetaType::Short:
                rc = sqlite3_bind_int64(stmt, n, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(stmt, n, v.toDouble());
                break;
            case QMetaType::QDate:
                rc = sqlite3_bind_text(stmt, n,
                                       v.toDate().toString(Qt::ISODate).toUtf8().constData(), -1,
                                       SQLITE_TRANSIENT);
                break;
            case QMetaType::QDateTime: // only the day is kept
                rc = sqlite3_bind_text(
                    stmt, n, v.toDateTime().date().toString(Qt::ISODate).toUtf8().constData(), -1,
                    SQLITE_TRANSIENT);
                break;
            default:
                rc = sqlite3_bind_text(stmt, n, v.toString().toUtf8().constData(), -1,
                                       SQLITE_TRANSIENT);
                break;
            }
        }
        if (rc != SQLITE_OK)
            fail(QStringLiteral("Cannot bind a value"));
    }
}

int Database::execute(const QString& sql, const QVariantList& params) {
    sqlite3_stmt* st = prepare(sql);
    try {
        bind(st, params);
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE)
            fail(sql);
    } catch (...) {
        sqlite3_finalize(st);
        throw;
    }
    sqlite3_finalize(st);
    return sqlite3_changes(db_);
}

void Database::atomically(const std::function<void()>& work) {
    execute(QStringLiteral("SAVEPOINT one_change"));
    try {
        work();
        execute(QStringLiteral("RELEASE one_change"));
    } catch (...) {
        // A failure may have ended the transaction already; then there is nothing to undo.
        sqlite3_exec(db_, "ROLLBACK TO one_change; RELEASE one_change", nullptr, nullptr, nullptr);
        throw;
    }
}

void Database::fail(const QString& what) const {
    DbError error((what + QStringLiteral(": ") + message(db_)).toStdString());
    error.diskFull = db_ && (sqlite3_extended_errcode(db_) & 0xff) == SQLITE_FULL;
    throw error;
}

void Workspace::BeginTrans() {
    db_.execute(QStringLiteral("BEGIN IMMEDIATE"));
}
void Workspace::CommitTrans() {
    db_.execute(QStringLiteral("COMMIT"));
}
void Workspace::Rollback() {
    if (db_.isOpen() && !sqlite3_get_autocommit(db_.handle()))
        db_.execute(QStringLiteral("ROLLBACK"));
}
