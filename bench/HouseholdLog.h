#pragma once
// Builds a copy of a delivered database with years of a household's diet log in it, the file the
// benchmarks load. Deterministic for a seed and an end date.
#include <QDate>
#include <QString>

namespace bench {

struct LogOptions {
    int years = 10;         // 365 days each, ending on endDate
    int users = 4;          // USER1 .. USERn
    int entriesPerDay = 20; // per user and day
    quint64 seed = 1;       // the same seed and end date give the same file
    QDate endDate;          // invalid: today
    bool overwrite = false; // replace an existing output file
};

struct LogSummary {
    qint64 rows = 0;
    qint64 firstId = 0;
    qint64 lastId = 0;
    QDate firstDate;
    QDate lastDate;
    int catalogueFoods = 0;
};

// Copies `deliveredPath` to `outPath` and adds the log in one transaction; the key counter of
// the diet entries ends at the last id added. The copy is built beside the output under another
// name and renamed at the end, so a failure never leaves a half-built log behind.
bool makeHouseholdLog(const QString& deliveredPath, const QString& outPath,
                      const LogOptions& options, LogSummary* summary, QString* error);

} // namespace bench
