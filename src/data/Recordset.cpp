#include "Recordset.h"

#include <QDate>
#include <QRegularExpression>
#include <algorithm>
#include <sqlite3.h>
#include <unordered_set>

namespace {

// Finalizes a statement when it goes out of scope, whatever happens in between.
struct Statement {
    sqlite3_stmt* st;
    ~Statement() { sqlite3_finalize(st); }
};

// Turns a column value into the QVariant the program reads, guided by the declared type.
QVariant columnValue(sqlite3_stmt* st, int i, const QString& declType) {
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER: {
        const qlonglong v = sqlite3_column_int64(st, i);
        if (declType == u"BOOLEAN")
            return QVariant(v != 0);
        if (declType == u"REAL")
            return QVariant(double(v));
        return QVariant(v);
    }
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st, i));
    default: {
        const QString text = QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(st, i)), sqlite3_column_bytes(st, i));
        if (declType == u"DATE") {
            const QDate d = QDate::fromString(text.left(10), Qt::ISODate);
            if (d.isValid())
                return QVariant(d);
        }
        return QVariant(text);
    }
    }
}

// A DATE column's usual text, "YYYY-MM-DD", read straight from its bytes: a list of days reads
// thousands of them. Anything else (a time after the date, a date that does not exist) is an
// invalid date here and goes the long way.
QDate isoDate(sqlite3_stmt* st, int i) {
    if (sqlite3_column_type(st, i) != SQLITE_TEXT || sqlite3_column_bytes(st, i) != 10)
        return {};
    const auto* t = sqlite3_column_text(st, i);
    int fields[3] = {};
    int field = 0;
    for (int k = 0; k < 10; ++k) {
        if (k == 4 || k == 7) {
            if (t[k] != '-')
                return {};
            ++field;
        } else if (t[k] >= '0' && t[k] <= '9') {
            fields[field] = fields[field] * 10 + (t[k] - '0');
        } else {
            return {};
        }
    }
    return QDate(fields[0], fields[1], fields[2]);
}

QVariant valueOf(sqlite3_stmt* st, int i, const QString& declType) {
    if (declType == u"DATE")
        if (const QDate d = isoDate(st, i); d.isValid())
            return QVariant(d);
    return columnValue(st, i, declType);
}

bool textEqualsNoCase(const QString& a, const QString& b) {
    // Folds ASCII letters only, as the database's NOCASE collation does.
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        QChar x = a[i], y = b[i];
        if (x.unicode() < 128)
            x = x.toLower();
        if (y.unicode() < 128)
            y = y.toLower();
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

// ---- Criterion ----------------------------------------------------------------------------

Criterion Criterion::equals(const QString& field, const QVariant& value) {
    Criterion c;
    c.field_ = field;
    c.value_ = value;
    c.op_ = Op::Equal;
    return c;
}

Criterion Criterion::like(const QString& field, const QString& pattern) {
    Criterion c;
    c.field_ = field;
    c.value_ = pattern;
    c.pattern_ = std::make_shared<const LikePattern>(pattern);
    c.op_ = Op::Like;
    return c;
}

bool Criterion::matches(const QVariant& value) const {
    if (value.isNull() || value_.isNull())
        return false;
    if (op_ == Op::Like)
        return pattern_->matches(value.toString());
    const bool numeric = [](const QVariant& v) {
        const int t = v.typeId();
        return t == QMetaType::Int || t == QMetaType::LongLong || t == QMetaType::Double ||
               t == QMetaType::Long || t == QMetaType::Bool || t == QMetaType::UInt;
    }(value);
    if (numeric)
        return value.toDouble() == value_.toDouble();
    if (value.typeId() == QMetaType::QDate)
        return value.toDate() == value_.toDate();
    return textEqualsNoCase(value.toString(), value_.toString());
}

// ---- Opening ------------------------------------------------------------------------------

std::unique_ptr<Recordset> Recordset::openDynaset(Database& db, const QString& table,
                                                  const QString& where, const QString& orderBy,
                                                  const QVariantList& params) {
    std::unique_ptr<Recordset> rs(new Recordset);
    rs->db_ = &db;
    rs->table_ = table;
    rs->where_ = where;
    rs->params_ = params;
    {
        Statement cols{
            db.prepare(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" LIMIT 0"))};
        rs->setColumns(cols.st);
    }
    rs->keySql_ = QStringLiteral("SELECT rowid FROM ") + table;
    if (!where.isEmpty())
        rs->keySql_ += QStringLiteral(" WHERE ") + where;
    if (!orderBy.isEmpty())
        rs->keySql_ += QStringLiteral(" ORDER BY ") + orderBy;
    // A query the engine cannot run fails here, at the command; its rows are read on first use.
    Statement keys{db.prepare(rs->keySql_)};
    rs->pos_ = 0;
    return rs;
}

std::unique_ptr<Recordset> Recordset::openSnapshot(Database& db, const QString& sql,
                                                   const QVariantList& params) {
    std::unique_ptr<Recordset> rs(new Recordset);
    rs->db_ = &db;
    Statement st{db.prepare(sql)};
    db.bind(st.st, params);
    rs->setColumns(st.st);
    const int n = int(rs->columns_.size());
    int rc;
    while ((rc = sqlite3_step(st.st)) == SQLITE_ROW) {
        std::vector<QVariant> row(n);
        for (int i = 0; i < n; ++i)
            row[i] = valueOf(st.st, i, rs->declTypes_[i]);
        rs->rows_.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        db.fail(sql);
    rs->pos_ = 0;
    return rs;
}

Recordset::~Recordset() = default;

void Recordset::setColumns(sqlite3_stmt* stmt) {
    const int n = sqlite3_column_count(stmt);
    for (int i = 0; i < n; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        const char* decl = sqlite3_column_decltype(stmt, i);
        columns_ << name;
        declTypes_ << (decl ? QString::fromUtf8(decl).toUpper() : QString());
        columnIndex_.insert(name.toLower(), i);
    }
}

// ---- Positioning --------------------------------------------------------------------------

int Recordset::rowCount() const {
    if (table_.isEmpty())
        return int(rows_.size());
    readKeys();
    return int(keys_.size());
}

void Recordset::readKeys() const {
    // A closed set has no rows to read.
    if (keysRead_ || !db_)
        return;
    std::vector<qint64> keys;
    try {
        Statement st{db_->prepare(keySql_)};
        db_->bind(st.st, params_);
        int rc;
        while ((rc = sqlite3_step(st.st)) == SQLITE_ROW)
            keys.push_back(sqlite3_column_int64(st.st, 0));
        if (rc != SQLITE_DONE)
            db_->fail(keySql_);
    } catch (const DbError&) {
        if (readFailure_)
            readFailure_();
        throw;
    }
    keys_ = std::move(keys);
    keysRead_ = true;
}

void Recordset::requireOpen() const {
    if (!db_)
        throw DbError("Object invalid or no longer set.");
}

void Recordset::requireCurrent() const {
    requireOpen();
    if (!hasCurrentRow())
        throw DbError("No current record.");
}

void Recordset::requireUpdatable() const {
    requireOpen();
    if (table_.isEmpty())
        throw DbError("Database or object is read-only.");
}

void Recordset::cancelEdit() noexcept {
    editMode_ = EditMode::None;
    buffer_.clear();
    dirty_.clear();
}

void Recordset::MoveFirst() {
    requireOpen();
    cancelEdit();
    pos_ = 0;
    noCurrent_ = false;
}

void Recordset::MoveLast() {
    requireOpen();
    cancelEdit();
    pos_ = std::max(0, rowCount() - 1);
    noCurrent_ = false;
}

void Recordset::MoveNext() {
    requireOpen();
    cancelEdit();
    if (noCurrent_) {
        // After a delete the next row has already slid into the current position.
        noCurrent_ = false;
        pos_ = std::max(pos_, 0);
        return;
    }
    if (eof())
        throw DbError("No current record.");
    ++pos_;
}

void Recordset::Move(long n) {
    requireOpen();
    cancelEdit();
    const long target = long(pos_) + n;
    pos_ = int(std::clamp(target, -1L, long(rowCount())));
    noCurrent_ = false;
}

const std::unordered_set<qint64>& Recordset::matchingKeys(const Criterion& criterion) const {
    const QString field =
        u'"' + QString(criterion.field()).replace(u'"', QStringLiteral("\"\"")) + u'"';
    const bool like = criterion.op() == Criterion::Op::Like;
    const qint64 changes = sqlite3_total_changes64(db_->handle());
    if (like && likeHits_.changes == changes && likeHits_.field == criterion.field() &&
        likeHits_.pattern == criterion.value().toString())
        return likeHits_.keys;
    std::unordered_set<qint64> hits;
    QString sql;
    QVariantList params;
    if (like) {
        // The set's own rows, each name matched here: the engine's LIKE folds ASCII letters only.
        sql = QStringLiteral("SELECT rowid, ") + field + QStringLiteral(" FROM ") + table_;
        if (!where_.isEmpty())
            sql += QStringLiteral(" WHERE ") + where_;
        params = params_;
    } else {
        // The engine finds equal values through its indexes.
        sql = QStringLiteral("SELECT rowid FROM ") + table_ + QStringLiteral(" WHERE ") + field +
              QStringLiteral(" = ?");
        params = {criterion.value()};
    }
    Statement st{db_->prepare(sql)};
    db_->bind(st.st, params);
    int rc;
    while ((rc = sqlite3_step(st.st)) == SQLITE_ROW) {
        if (like) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st.st, 1));
            if (!text || !criterion.matchesUtf8(text, sqlite3_column_bytes(st.st, 1)))
                continue;
        }
        hits.insert(sqlite3_column_int64(st.st, 0));
    }
    if (rc != SQLITE_DONE)
        db_->fail(sql);
    if (!like) {
        equalHits_ = std::move(hits);
        return equalHits_;
    }
    likeHits_ = {criterion.field(), criterion.value().toString(), changes, std::move(hits)};
    return likeHits_.keys;
}

bool Recordset::find(const Criterion& criterion, int from, bool wrap) {
    requireOpen();
    cancelEdit();
    const int n = rowCount();
    from = std::clamp(from, 0, n);
    const int col = column(criterion.field()); // an unknown field is an error in either kind
    const std::unordered_set<qint64>* hits = table_.isEmpty() ? nullptr : &matchingKeys(criterion);
    const auto isMatch = [&](int i) {
        return hits ? hits->count(keys_[i]) > 0 : criterion.matches(rows_[i][col]);
    };
    int found = -1;
    for (int i = from; i < n && found < 0; ++i)
        if (isMatch(i))
            found = i;
    for (int i = 0; wrap && i < from && found < 0; ++i)
        if (isMatch(i))
            found = i;
    noMatch_ = found < 0;
    if (found >= 0) {
        pos_ = found;
        noCurrent_ = false;
    } else {
        noCurrent_ = true;
    }
    return !noMatch_;
}

bool Recordset::FindFirst(const Criterion& criterion) {
    return find(criterion, 0);
}

bool Recordset::findNextRow(const Criterion& criterion) {
    return find(criterion, noCurrent_ ? pos_ : pos_ + 1);
}

bool Recordset::findNextWrapping(const Criterion& criterion) {
    return find(criterion, noCurrent_ ? pos_ : pos_ + 1, true);
}

// ---- Reading ------------------------------------------------------------------------------

int Recordset::column(const QString& name) const {
    // A loop over the rows asks for the same field again and again.
    if (name == lastName_)
        return lastColumn_;
    auto it = columnIndex_.constFind(name.toLower());
    if (it == columnIndex_.cend())
        throw DbError((QStringLiteral("Item not found in this collection: ") + name).toStdString());
    lastName_ = name;
    lastColumn_ = *it;
    return *it;
}

const std::vector<QVariant>& Recordset::currentRow() const {
    requireCurrent();
    if (table_.isEmpty())
        return rows_[pos_];
    if (cachePos_ == pos_ && !cache_.empty())
        return cache_;
    Statement st{db_->prepare(QStringLiteral("SELECT * FROM ") + table_ +
                              QStringLiteral(" WHERE rowid = ?"))};
    sqlite3_bind_int64(st.st, 1, keys_[pos_]);
    const int rc = sqlite3_step(st.st);
    if (rc == SQLITE_DONE)
        throw DbError("Record is deleted.");
    if (rc != SQLITE_ROW)
        db_->fail(QStringLiteral("Cannot read a row of ") + table_);
    cache_.assign(columns_.size(), QVariant());
    for (int i = 0; i < int(columns_.size()); ++i)
        cache_[i] = valueOf(st.st, i, declTypes_[i]);
    cachePos_ = pos_;
    return cache_;
}

QVariant Recordset::Fields(const QString& name) const {
    const int col = column(name);
    if (editMode_ != EditMode::None)
        return buffer_[col];
    return currentRow()[col];
}

void Recordset::setField(const QString& name, const QVariant& value) {
    const int col = column(name);
    if (editMode_ == EditMode::None)
        throw DbError("Update or CancelUpdate without AddNew or Edit.");
    buffer_[col] = value;
    dirty_[col] = true;
}

// ---- Writing ------------------------------------------------------------------------------

void Recordset::AddNew() {
    requireUpdatable();
    cancelEdit();
    readKeys(); // the new row joins the end of the rows as they were before it
    buffer_.assign(columns_.size(), QVariant());
    dirty_.assign(columns_.size(), false);
    editMode_ = EditMode::AddNew;
}

void Recordset::keepInStep(const QStringList& columns, Written written) {
    keptColumns_.clear();
    for (const QString& name : columns)
        keptColumns_.push_back(column(name));
    written_ = std::move(written);
}

QVariantList Recordset::keptValues(const std::vector<QVariant>& row) const {
    QVariantList values;
    for (int col : keptColumns_)
        values << row[size_t(col)];
    return values;
}

void Recordset::writeRow(const std::function<void()>& write, const QVariantList& before,
                         const QVariantList& after) {
    if (!written_ || before == after) {
        write();
        return;
    }
    db_->atomically([&] {
        write();
        written_(before, after);
    });
}

void Recordset::Edit() {
    requireUpdatable();
    cancelEdit();
    cachePos_ = -1; // read the row afresh: the edit starts from what the table holds now
    buffer_ = currentRow();
    keptBefore_ = keptValues(buffer_);
    dirty_.assign(columns_.size(), false);
    editMode_ = EditMode::Edit;
}

void Recordset::Update() {
    requireUpdatable();
    if (editMode_ == EditMode::None)
        throw DbError("Update or CancelUpdate without AddNew or Edit.");
    QStringList names;
    QVariantList values;
    for (int i = 0; i < int(columns_.size()); ++i) {
        if (dirty_[i]) {
            names << u'"' + columns_[i] + u'"';
            values << buffer_[i];
        }
    }
    if (editMode_ == EditMode::AddNew) {
        QString sql;
        if (names.isEmpty()) {
            sql = QStringLiteral("INSERT INTO ") + table_ + QStringLiteral(" DEFAULT VALUES");
        } else {
            QStringList marks;
            for (qsizetype i = 0; i < names.size(); ++i)
                marks << QStringLiteral("?");
            sql = QStringLiteral("INSERT INTO ") + table_ + QStringLiteral(" (") +
                  names.join(u',') + QStringLiteral(") VALUES (") + marks.join(u',') + u')';
        }
        qint64 added = 0;
        writeRow(
            [&] {
                db_->execute(sql, values);
                added = sqlite3_last_insert_rowid(db_->handle());
            },
            {}, keptValues(buffer_));
        // A new row joins the end of the set; the current row stays where it was.
        keys_.push_back(added);
        lastModified_ = keys_.back();
    } else {
        if (!names.isEmpty()) {
            const QString sql = QStringLiteral("UPDATE ") + table_ + QStringLiteral(" SET ") +
                                names.join(QStringLiteral(" = ?, ")) +
                                QStringLiteral(" = ? WHERE rowid = ?");
            values << keys_[pos_];
            writeRow(
                [&] {
                    if (db_->execute(sql, values) != 1)
                        throw DbError("Record is deleted.");
                },
                keptBefore_, keptValues(buffer_));
        }
        lastModified_ = keys_[pos_];
    }
    cachePos_ = -1;
    cancelEdit();
}

void Recordset::CancelUpdate() {
    requireOpen();
    if (editMode_ == EditMode::None)
        throw DbError("Update or CancelUpdate without AddNew or Edit.");
    cancelEdit();
}

void Recordset::Delete() {
    requireUpdatable();
    requireCurrent();
    cancelEdit();
    writeRow(
        [&] {
            db_->execute(QStringLiteral("DELETE FROM ") + table_ +
                             QStringLiteral(" WHERE rowid = ?"),
                         {keys_[pos_]});
        },
        written_ ? keptValues(currentRow()) : QVariantList(), {});
    keys_.erase(keys_.begin() + pos_);
    cachePos_ = -1;
    noCurrent_ = true; // until the next move
}

// ---- Bookmarks ----------------------------------------------------------------------------

Bookmark Recordset::bookmark() const {
    requireCurrent();
    return table_.isEmpty() ? Bookmark(pos_) : keys_[pos_];
}

void Recordset::setBookmark(Bookmark bookmark) {
    requireOpen();
    cancelEdit();
    int target = -1;
    if (table_.isEmpty()) {
        if (bookmark >= 0 && bookmark < rowCount())
            target = int(bookmark);
    } else {
        // Most bookmarks are of rows just added, which sit at the end: search from there.
        for (int i = rowCount() - 1; i >= 0; --i)
            if (keys_[i] == bookmark) {
                target = i;
                break;
            }
    }
    if (target < 0)
        throw DbError("Not a valid bookmark.");
    pos_ = target;
    noCurrent_ = false;
}

Bookmark Recordset::LastModified() const {
    requireOpen();
    if (lastModified_ < 0)
        throw DbError("No current record.");
    return lastModified_;
}

void Recordset::Close() {
    cancelEdit();
    keys_.clear();
    keys_.shrink_to_fit();
    rows_.clear();
    rows_.shrink_to_fit();
    cache_.clear();
    cachePos_ = -1;
    db_ = nullptr;
}

EditScope::~EditScope() {
    rs_.cancelEdit(); // only drops the buffer: nothing is written, nothing can fail
}
