#pragma once
// A result set the program positions, reads and updates row by row.
//
// Updatable sets ("dynasets") cover the rows of one table: they hold the row keys in query order,
// read when the set is first positioned, searched or added to rather than at the open, and read
// a row's values only when it becomes current, so opening a large set costs next to nothing.
// Every change is written through to the table at once. Snapshots are read-only copies of
// the rows a query returned. Values are QVariants; a null column is a null QVariant. Text fields
// are QString, DATE columns QDate, BOOLEAN columns bool, integers qlonglong, reals double.
//
// Failures (no current row, a read-only set, an engine error) throw DbError; the procedure that
// started the operation traps it and reports it.
#include "Database.h"
#include "LikePattern.h"

#include <QHash>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

// A search condition for FindFirst/findNextRow, built from a value rather than pasted into text.
class Criterion {
public:
    enum class Op { Equal, Like };
    // field = value (text compares without regard to case)
    static Criterion equals(const QString& field, const QVariant& value);
    // field like pattern (see LikePattern), matched by the program rather than the engine so
    // that letters of every script compare without regard to case
    static Criterion like(const QString& field, const QString& pattern);

    const QString& field() const { return field_; }
    const QVariant& value() const { return value_; }
    Op op() const { return op_; }
    bool matches(const QVariant& value) const;
    // For Like: whether UTF-8 text from the database matches.
    bool matchesUtf8(const char* text, qsizetype size) const {
        return pattern_->matchesUtf8(text, size);
    }

private:
    QString field_;
    QVariant value_;
    std::shared_ptr<const LikePattern> pattern_;
    Op op_ = Op::Equal;
};

using Bookmark = qint64;

class Recordset {
public:
    enum class EditMode { None, Edit, AddNew };

    // An updatable set over `table`: rows WHERE `where` (may be empty) ORDER BY `orderBy`.
    static std::unique_ptr<Recordset> openDynaset(Database& db, const QString& table,
                                                  const QString& where, const QString& orderBy,
                                                  const QVariantList& params = {});
    // A read-only copy of the rows of `sql`.
    static std::unique_ptr<Recordset> openSnapshot(Database& db, const QString& sql,
                                                   const QVariantList& params = {});
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    bool eof() const { return rowCount() == 0 || pos_ >= rowCount(); }
    bool bof() const { return rowCount() == 0 || pos_ < 0; }
    long RecordCount() const { return static_cast<long>(rowCount()); }
    bool hasCurrentRow() const { return pos_ >= 0 && pos_ < rowCount() && !noCurrent_; }

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    // Moves n rows from the current row (n may be negative); past either end it stops at
    // EOF or BOF.
    void Move(long n);

    // Searches from the first row (FindFirst) or from the row after the current one (findNextRow).
    // Without a match NoMatch() is true and there is no current row.
    bool FindFirst(const Criterion& criterion);
    bool findNextRow(const Criterion& criterion);
    // findNextRow, then from the first row up to and including the current one: a whole turn
    // through the rows in one pass.
    bool findNextWrapping(const Criterion& criterion);
    bool NoMatch() const { return noMatch_; }

    // The value of a column of the current row (or of the row being edited or added).
    QVariant Fields(const QString& name) const;
    void setField(const QString& name, const QVariant& value);
    const QStringList& fieldNames() const { return columns_; }

    void AddNew();
    void Edit();
    void Update();
    void CancelUpdate();
    void Delete();
    EditMode editMode() const { return editMode_; }

    Bookmark bookmark() const;
    void setBookmark(Bookmark bookmark);
    Bookmark LastModified() const;

    void Close();
    bool isOpen() const { return db_ != nullptr; }

    // Keeps something else in step with the rows this updatable set writes: `written` runs after
    // each row it adds, deletes or changes in one of `columns`, as one change with that row's
    // write, and is given those columns' values before (empty for a new row) and after (empty
    // for a deleted row). What it throws undoes the row's write too.
    using Written = std::function<void(const QVariantList& before, const QVariantList& after)>;
    void keepInStep(const QStringList& columns, Written written);

    // What reports a failure to read an updatable set's rows, which happens on first use rather
    // than when the set is opened: the command that opened it shows its message and ends the run.
    void setReadFailure(std::function<void()> report) { readFailure_ = std::move(report); }

private:
    Recordset() = default;
    // The number of rows; a dynaset reads its keys first.
    int rowCount() const;
    // Reads a dynaset's row keys, once.
    void readKeys() const;
    int column(const QString& name) const;
    void requireCurrent() const;
    void requireOpen() const;
    void requireUpdatable() const;
    const std::vector<QVariant>& currentRow() const;
    void setColumns(sqlite3_stmt* stmt);
    // The first match at or after `from`; with `wrap`, then the first before `from`.
    bool find(const Criterion& criterion, int from, bool wrap = false);
    // The row ids that match (dynasets only).
    const std::unordered_set<qint64>& matchingKeys(const Criterion& criterion) const;
    void cancelEdit() noexcept;
    friend class EditScope;
    // The values of the kept columns in `row`.
    QVariantList keptValues(const std::vector<QVariant>& row) const;
    // Runs `write`, the row's own statement, and then what keeps step with it, as one change.
    void writeRow(const std::function<void()>& write, const QVariantList& before,
                  const QVariantList& after);

    Database* db_ = nullptr;
    QString table_; // empty for a snapshot
    QString where_; // dynaset: its condition and that condition's values
    QVariantList params_;
    QStringList columns_;
    QStringList declTypes_;
    QHash<QString, int> columnIndex_;
    mutable QString lastName_; // the field asked for last, as it was spelled, and its column
    mutable int lastColumn_ = -1;

    QString keySql_;                   // dynaset: the query of its row ids
    mutable std::vector<qint64> keys_; // dynaset: row ids in query order
    mutable bool keysRead_ = false;
    std::function<void()> readFailure_;
    std::vector<std::vector<QVariant>> rows_; // snapshot: the rows
    mutable std::vector<QVariant> cache_;     // dynaset: values of the current row
    mutable int cachePos_ = -1;

    int pos_ = -1;
    bool noCurrent_ = false; // after a failed find or a delete
    bool noMatch_ = false;
    Bookmark lastModified_ = -1;

    // The last name search's matches, kept while the connection has changed no row since, so
    // that Find Next does not read every name again.
    struct LikeHits {
        QString field, pattern;
        qint64 changes = -1;
        std::unordered_set<qint64> keys;
    };
    mutable LikeHits likeHits_;
    mutable std::unordered_set<qint64> equalHits_;

    EditMode editMode_ = EditMode::None;
    std::vector<QVariant> buffer_;
    std::vector<bool> dirty_;

    std::vector<int> keptColumns_;
    Written written_;
    QVariantList keptBefore_; // the kept columns of the row being edited, as it was read
};

// An add or edit of a row that is cancelled when the scope ends without commit(): a failure
// part-way never leaves a half-written row behind for a later move or update to save.
class EditScope {
public:
    explicit EditScope(Recordset& rs) : rs_(rs) {}
    ~EditScope();
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

    // Writes the row being added or edited (Update).
    void commit() { rs_.Update(); }

private:
    Recordset& rs_;
};
