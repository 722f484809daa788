// forkwise-bench-mklog: a copy of the delivered database with a household's years of diet log,
// the file the benchmarks open.

#include "Database.h"
#include "HouseholdLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

void print(std::FILE* stream, const QString& line) {
    std::fputs(qPrintable(line + u'\n'), stream);
}

int usage() {
    print(stderr, u"usage: forkwise-bench-mklog DELIVERED_DB OUT_DB [--years N] [--seed N] "
                  "[--end YYYY-MM-DD] [--force]\n"
                  "       forkwise-bench-mklog --upgrade LOG_DB"_s);
    return 2;
}

// Opens the log as the program does, which brings a file of an older layout up to date, so
// that no benchmark times that one-time step.
int upgrade(const QString& path) {
    QElapsedTimer timer;
    timer.start();
    try {
        Database db;
        db.openExclusive(path);
    } catch (const DbError& e) {
        print(stderr, u"forkwise-bench-mklog: %1: %2"_s.arg(path, QString::fromUtf8(e.what())));
        return 1;
    }
    print(stdout, u"%1 is up to date (%2 ms)."_s.arg(path).arg(timer.elapsed()));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (!args.isEmpty() && args[0] == u"--upgrade"_s)
        return args.size() == 2 ? upgrade(args[1]) : usage();
    QStringList paths;
    bench::LogOptions options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == u"--force"_s) {
            options.overwrite = true;
        } else if (a == u"--years"_s && hasValue) {
            options.years = args[++i].toInt(&ok);
        } else if (a == u"--seed"_s && hasValue) {
            options.seed = args[++i].toULongLong(&ok);
        } else if (a == u"--end"_s && hasValue) {
            options.endDate = QDate::fromString(args[++i], Qt::ISODate);
            ok = options.endDate.isValid();
        } else if (a.startsWith(u'-')) {
            return usage();
        } else {
            paths << a;
        }
        if (!ok)
            return usage();
    }
    if (paths.size() != 2)
        return usage();

    QElapsedTimer timer;
    timer.start();
    bench::LogSummary summary;
    QString error;
    if (!bench::makeHouseholdLog(paths[0], paths[1], options, &summary, &error)) {
        print(stderr, u"forkwise-bench-mklog: %1"_s.arg(error));
        return 1;
    }
    print(stdout,
          u"Created %1: %2 diet rows (ids %3..%4) for %5 users, %6 to %7, from %8 foods "
          "(%9 ms)."_s.arg(paths[1])
              .arg(summary.rows)
              .arg(summary.firstId)
              .arg(summary.lastId)
              .arg(options.users)
              .arg(summary.firstDate.toString(Qt::ISODate), summary.lastDate.toString(Qt::ISODate))
              .arg(summary.catalogueFoods)
              .arg(timer.elapsed()));
    return 0;
}
