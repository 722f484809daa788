#pragma once
// The open database file: one SQLite connection held exclusively for the whole run.
#include <QString>
#include <QVariantList>
#include <functional>
#include <stdexcept>

struct sqlite3;
struct sqlite3_stmt;

// A database operation that failed; trapped by the procedure that started it.
class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    // SQLite found no room for what it had to write (SQLITE_FULL).
    bool diskFull = false;
};

// A file the program may not open, told apart so the user learns what was found.
class DbOpenError : public DbError {
public:
    enum Kind {
        ReadOnly,     // the file or its folder cannot be written to
        Newer,        // written by a newer version of the program
        Damaged,      // its schema cannot be read
        Strange,      // it holds a trigger or view, named in `object`
        NotOurs,      // a database without the program's tables
        NotADatabase, // SQLite does not take it for a database
        Locked,       // another process has it open
        Missing,      // no file at the path
        Failed,       // any other failure, which what() tells
    };
    DbOpenError(Kind kind, const std::string& what, const QString& object = {})
        : DbError(what), kind(kind), object(object) {}
    Kind kind;
    QString object; // "trigger \"Name\"" or "view \"Name\"" for Strange
};

// Whether the connection's main database holds every table of the program.
bool hasProgramTables(sqlite3* db);

class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file for reading and writing and takes the exclusive lock, so no other
    // process can read or write it until close(). Never creates a file. A file of an older
    // version is brought up to date in one transaction; if that fails, the file stays as it was
    // and DbError is thrown. Throws DbOpenError, with nothing written, when the file is missing,
    // locked by another process, not a database, damaged, lacks the program's tables, has a newer
    // version than kSchemaVersion, holds a trigger or view, or cannot be written to (the file or
    // its folder, where the journal goes).
    void openExclusive(const QString& path);
    // Opens a file openExclusive found damaged, without reading any of it, holding it exclusively
    // from the first write on: only to write a checked copy into it (restoreFromCopy).
    void openDamaged(const QString& path);
    // Brings the open file up to date in one transaction, as openExclusive does.
    void upgrade();
    // PRAGMA quick_check: the empty text when the file passed, else the first problem found.
    QString quickCheck();
    void close();
    bool isOpen() const { return db_ != nullptr; }
    sqlite3* handle() const;

    // Runs one statement that returns no rows, with bound values; returns the rows changed.
    int execute(const QString& sql, const QVariantList& params = {});
    // Runs `work` as one change, all of it or nothing: inside a transaction already open it is a
    // part of that one, else a transaction of its own. What `work` throws undoes what it wrote
    // and is thrown on.
    void atomically(const std::function<void()>& work);

    // Statement helpers shared by the result sets.
    sqlite3_stmt* prepare(const QString& sql) const;
    void bind(sqlite3_stmt* stmt, const QVariantList& params) const;
    [[noreturn]] void fail(const QString& what) const;

private:
    int userVersion() const;

    sqlite3* db_ = nullptr;
};

// The workspace the database is open in: transactions over the one connection.
class Workspace {
public:
    explicit Workspace(Database& db) : db_(db) {}
    void BeginTrans();
    void CommitTrans();
    void Rollback();
    void Close() {}

private:
    Database& db_;
};
