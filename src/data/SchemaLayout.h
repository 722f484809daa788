#pragma once
// The layout of ForkData.mdb as this program makes it, compared object by object with a file's
// own: its tables with their columns, its indexes with their columns, and nothing else. What the
// program expects is read from the schema the delivered file is built from, so a change of the
// schema changes the comparison with it.
#include <QString>
#include <QStringList>

struct sqlite3;

// The layout of the main database of `db`, one line per table, index, trigger or view, sorted.
// Reads only the schema. `rc` gets SQLITE_OK, or the engine's error when the schema cannot be
// read (the list is then empty).
QStringList describeLayout(sqlite3* db, int* rc);

// The layout of this program's files of `version`; empty for a version it does not know.
QStringList programLayout(int version);

// The first line of `layout` that is not in `expected`, or of `expected` that is missing from
// `layout`, marked with "extra" or "missing"; the empty text when the two are the same.
QString layoutDifference(const QStringList& layout, const QStringList& expected);

// The first trigger or view of the main database of `db`, as "trigger" or "view" and its name;
// empty pair when it holds none. This program never makes one: one that is there would run or
// show a stranger's SQL on the log.
struct StrangeObject {
    QString kind, name;
    bool found() const { return !kind.isEmpty(); }
};
StrangeObject findStrangeObject(sqlite3* db);
