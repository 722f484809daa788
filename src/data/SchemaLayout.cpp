#include "SchemaLayout.h"

#include "SchemaText.h"
#include "SchemaVersion.h"

#include <QHash>
#include <QSet>
#include <iterator>
#include <mutex>
#include <sqlite3.h>

using namespace Qt::Literals::StringLiterals;

// A file's layout is compared as lines of text, one per table and index, each carrying what the
// program relies on: the columns in order with their declared type, NOT NULL, default, key,
// collation and whether they are generated; the index's table, uniqueness, partiality and its
// columns with their order and collation. Names compare without regard to case, as SQLite's do.
// What PRAGMA cannot show, a table's CHECK, FOREIGN KEY, ON CONFLICT or generated-column
// clauses, is read from its text as the bare keywords it holds: the program's own tables have
// none, so any of them makes the table differ.

namespace {

// The layouts of the program's files, oldest first, each from `firstVersion` up to the next
// one's. The newest is the schema; each older one is the schema with the `undo` of every later
// layout run after it, newest first: what takes that layout back to the one before it. Versions
// 0 and 1 differ only in the declared type of the gram weights, which the comparison reads as
// the same (see typeOf).
struct LayoutStep {
    int firstVersion;
    const char* undo;
};
const LayoutStep kLayouts[] = {{0, ""}, {2, "DROP TABLE DietDay;"}};
constexpr int kLayoutCount = int(std::size(kLayouts));

// The text that builds layout `index` of kLayouts.
QByteArray layoutText(int index) {
    QByteArray sql(kSchemaSql);
    for (int later = kLayoutCount - 1; later > index; --later)
        sql += kLayouts[later].undo;
    return sql;
}

class Statement {
public:
    Statement(sqlite3* db, const char* sql, const QStringList& args = {}) {
        rc_ = sqlite3_prepare_v2(db, sql, -1, &st_, nullptr);
        for (int i = 0; rc_ == SQLITE_OK && i < args.size(); ++i)
            rc_ = sqlite3_bind_text(st_, i + 1, args[i].toUtf8().constData(), -1, SQLITE_TRANSIENT);
    }
    ~Statement() { sqlite3_finalize(st_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Steps to the next row; false at the end or on an error, which rc() then holds.
    bool next() {
        if (rc_ != SQLITE_OK && rc_ != SQLITE_ROW)
            return false;
        rc_ = sqlite3_step(st_);
        if (rc_ == SQLITE_ROW)
            return true;
        if (rc_ == SQLITE_DONE)
            rc_ = SQLITE_OK;
        return false;
    }
    int rc() const { return rc_; }
    QString text(int i) const {
        const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st_, i));
        return t ? QString::fromUtf8(t) : u"null"_s;
    }
    int number(int i) const { return sqlite3_column_int(st_, i); }

private:
    sqlite3_stmt* st_ = nullptr;
    int rc_ = SQLITE_OK;
};

// A REAL and an INTEGER column both hand the program a number: files made before version 1
// declare the gram weights INTEGER, and an upgrade leaves a declaration as it is. A key keeps its
// type, since only an INTEGER PRIMARY KEY is the row's own number.
QString typeOf(const QString& declared, int key) {
    const QString type = declared.trimmed().toUpper();
    return key == 0 && (type == u"INTEGER" || type == u"REAL") ? u"number"_s : type;
}

// The bare words of a table's text that add behaviour PRAGMA does not show, in order.
QString hiddenClauses(const QString& sql) {
    static const QSet<QString> kWords = {u"CHECK"_s, u"CONFLICT"_s, u"REFERENCES"_s, u"GENERATED"_s,
                                         u"AS"_s};
    QString found;
    for (qsizetype i = 0; i < sql.size();) {
        const QChar c = sql[i];
        const auto skipTo = [&](const QString& end, qsizetype from) {
            const qsizetype at = sql.indexOf(end, from);
            i = at < 0 ? sql.size() : at + end.size();
        };
        if (c == u'\'' || c == u'"' || c == u'`') {
            skipTo(QString(c), i + 1); // a doubled quote inside reads as two quoted parts
        } else if (c == u'[') {
            skipTo(u"]"_s, i + 1);
        } else if (sql.mid(i, 2) == u"--") {
            skipTo(u"\n"_s, i);
        } else if (sql.mid(i, 2) == u"/*") {
            skipTo(u"*/"_s, i + 2);
        } else if (c.isLetter() || c == u'_') {
            const qsizetype start = i;
            while (i < sql.size() &&
                   (sql[i].isLetterOrNumber() || sql[i] == u'_' || sql[i] == u'$'))
                ++i;
            const QString word = sql.mid(start, i - start).toUpper();
            if (kWords.contains(word))
                found += u' ' + word;
        } else {
            ++i;
        }
    }
    return found;
}

int describeTable(sqlite3* db, const QString& name, const QString& sql, QString* line) {
    Statement kind(db, "SELECT type, wr, strict FROM pragma_table_list(?) WHERE schema = 'main'",
                   {name});
    if (!kind.next())
        return kind.rc();
    if (kind.text(0) != u"table") { // a virtual or shadow table
        *line = kind.text(0) + u' ' + name;
        return SQLITE_OK;
    }
    *line = u"table "_s + name + (kind.number(1) ? u" without rowid"_s : QString()) +
            (kind.number(2) ? u" strict"_s : QString()) + hiddenClauses(sql) + u':';
    Statement columns(db,
                      "SELECT name, type, \"notnull\", dflt_value, pk, hidden "
                      "FROM pragma_table_xinfo(?)",
                      {name});
    while (columns.next()) {
        const QString column = columns.text(0);
        const char* collation = nullptr;
        int autoinc = 0;
        const int rc = sqlite3_table_column_metadata(db, "main", name.toUtf8().constData(),
                                                     column.toUtf8().constData(), nullptr,
                                                     &collation, nullptr, nullptr, &autoinc);
        if (rc != SQLITE_OK)
            return rc;
        *line += u" %1 %2 notnull=%3 default=%4 key=%5 hidden=%6 collate=%7%8;"_s.arg(
            column, typeOf(columns.text(1), columns.number(4)), columns.text(2), columns.text(3),
            columns.text(4), columns.text(5), QString::fromUtf8(collation),
            autoinc ? u" autoincrement"_s : QString());
    }
    return columns.rc();
}

int describeIndex(sqlite3* db, const QString& name, const QString& table, QString* line) {
    *line = u"index "_s + name + u" on "_s + table;
    Statement kind(db,
                   "SELECT \"unique\", origin, partial FROM pragma_index_list(?1) WHERE name = ?2",
                   {table, name});
    if (kind.next())
        *line +=
            u" unique=%1 origin=%2 partial=%3:"_s.arg(kind.text(0), kind.text(1), kind.text(2));
    else if (kind.rc() != SQLITE_OK)
        return kind.rc();
    // The key columns in order; an expression has no name.
    Statement columns(db, "SELECT name, \"desc\", coll FROM pragma_index_xinfo(?) WHERE key",
                      {name});
    while (columns.next())
        *line +=
            u" %1 desc=%2 collate=%3;"_s.arg(columns.text(0), columns.text(1), columns.text(2));
    return columns.rc();
}

} // namespace

QStringList describeLayout(sqlite3* db, int* rc) {
    QStringList lines;
    Statement objects(db, "SELECT type, name, tbl_name, sql FROM sqlite_schema");
    while (objects.next()) {
        const QString type = objects.text(0), name = objects.text(1);
        QString line;
        int step = SQLITE_OK;
        if (type == u"table")
            step = describeTable(db, name, objects.text(3), &line);
        else if (type == u"index")
            step = describeIndex(db, name, objects.text(2), &line);
        else
            line = type + u' ' + name;
        if (step != SQLITE_OK) {
            *rc = step;
            return {};
        }
        lines << line.toLower();
    }
    *rc = objects.rc();
    if (*rc != SQLITE_OK)
        return {};
    lines.sort();
    return lines;
}

QStringList programLayout(int version) {
    if (version < 0 || version > kSchemaVersion)
        return {};
    int index = 0;
    while (index + 1 < kLayoutCount && kLayouts[index + 1].firstVersion <= version)
        ++index;
    // Each text is built once in a database in memory and described as a file is.
    static std::mutex lock;
    static QHash<int, QStringList> built;
    const std::lock_guard<std::mutex> guard(lock);
    if (!built.contains(index)) {
        sqlite3* db = nullptr;
        int rc = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(db, layoutText(index).constData(), nullptr, nullptr, nullptr);
        QStringList lines;
        if (rc == SQLITE_OK)
            lines = describeLayout(db, &rc);
        sqlite3_close(db);
        // The texts are the program's own: one that cannot be built is a fault of this build.
        Q_ASSERT_X(rc == SQLITE_OK && !lines.isEmpty(), "programLayout", "unreadable layout text");
        built.insert(index, lines);
    }
    return built.value(index);
}

QString layoutDifference(const QStringList& layout, const QStringList& expected) {
    for (const QString& line : layout)
        if (!expected.contains(line))
            return u"extra "_s + line;
    for (const QString& line : expected)
        if (!layout.contains(line))
            return u"missing "_s + line;
    return QString();
}

StrangeObject findStrangeObject(sqlite3* db) {
    Statement objects(db, "SELECT type, name FROM sqlite_schema WHERE type IN ('trigger', 'view') "
                          "ORDER BY type, name LIMIT 1");
    if (objects.next())
        return {objects.text(0), objects.text(1)};
    return {};
}
