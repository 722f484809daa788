// forkwise-bench-open: how long opening a diet log and loading what the main window's load needs
// takes, and how much memory the loaded result sets hold.
//
// Each run opens the file afresh, runs the commands the main window's load runs for the current
// user (plus the user's list of days, which the diet tree is filled from), stops the clock, reads
// the heap, times the first use of the user's diet data (a click on an entry), which reads what
// the load left for later, and closes everything again. The operating system's file cache is left
// alone, so the figures are for a warm cache; the first run of the process is reported on its own.

#include "Config.h"
#include "Module1.h"
#include "Seams.h"
#include "clsFWSDataSource.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <malloc.h>
#include <sqlite3.h>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

// The steps of one load, in the order they run.
enum Step { Connect, Config, Groups, Foods, TableKey, User, DietData, DietDates, kSteps };
constexpr std::array<const char*, kSteps> kStepNames = {
    "connectDB",   "cmdConfig",   "cmdGroups",
    "cmdFoods",    "cmdTableKey", "LoadCurrentUser + GetConfigValue",
    "cmdDietData", "cmdDietDates"};
const char* const kFirstUse = "rscmdDietData's first use";

// What one run measured.
struct Run {
    double stepMs[kSteps] = {};
    double totalMs = 0;
    double firstUseMs = 0; // after the load: finding an entry in rscmdDietData the first time
    double heapMB = 0;     // heap in use after the load minus before it
    double sqliteMB = 0;   // the engine's own allocations after the load (part of heapMB)
    long groups = 0, foods = 0, dietRows = 0, dates = 0;
    QString user, userName;
};

using SteadyClock = std::chrono::steady_clock;

double msSince(SteadyClock::time_point& mark) {
    const SteadyClock::time_point now = SteadyClock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - mark).count();
    mark = now;
    return ms;
}

double heapInUse() {
    return double(mallinfo2().uordblks);
}

constexpr double kMB = 1024.0 * 1024.0;

long count(const std::unique_ptr<Recordset>& rs) {
    return rs ? rs->RecordCount() : -1;
}

bool loadOnce(const QString& path, Run& run) {
    const double heapBefore = heapInUse();
    const SteadyClock::time_point start = SteadyClock::now();
    SteadyClock::time_point mark = start;

    gDBPath = path;
    gDataSource = std::make_unique<clsFWSDataSource>();
    clsFWSDataSource& ds = *gDataSource;
    if (!ds.connectDB())
        return false;
    run.stepMs[Connect] = msSince(mark);
    ds.cmdConfig();
    run.stepMs[Config] = msSince(mark);
    ds.cmdGroups();
    run.stepMs[Groups] = msSince(mark);
    ds.cmdFoods();
    run.stepMs[Foods] = msSince(mark);
    ds.cmdTableKey();
    run.stepMs[TableKey] = msSince(mark);
    gCurrentUser = LoadCurrentUser();
    run.userName = GetConfigValue(gCurrentUser);
    run.stepMs[User] = msSince(mark);
    ds.cmdDietData(gCurrentUser);
    run.stepMs[DietData] = msSince(mark);
    ds.cmdDietDates(gCurrentUser);
    run.stepMs[DietDates] = msSince(mark);
    run.totalMs = std::chrono::duration<double, std::milli>(mark - start).count();

    run.heapMB = (heapInUse() - heapBefore) / kMB;
    run.sqliteMB = double(sqlite3_memory_used()) / kMB;

    // A click on an entry node positions rscmdDietData on it.
    mark = SteadyClock::now();
    if (ds.rscmdDietData->RecordCount() > 0) {
        ds.rscmdDietData->MoveLast();
        const QVariant id = ds.rscmdDietData->Fields(u"DietId"_s);
        ds.rscmdDietData->MoveFirst();
        ds.rscmdDietData->FindFirst(Criterion::equals(u"DietId"_s, id));
    }
    run.firstUseMs = msSince(mark);
    run.user = gCurrentUser;
    run.groups = count(ds.rscmdGroups);
    run.foods = count(ds.rscmdFoods);
    run.dietRows = count(ds.rscmdDietData);
    run.dates = count(ds.rscmdDietDates);

    ds.closeDB();
    gDataSource.reset();
    return run.foods >= 0 && run.dietRows >= 0 && run.dates >= 0;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void print(const QString& line) {
    std::fputs(qPrintable(line + u'\n'), stdout);
}

int usage() {
    std::fputs("usage: forkwise-bench-open LOG_DB [--runs N]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QString path;
    int runs = 10;
    for (qsizetype i = 0; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == u"--runs"_s && i + 1 < args.size())
            runs = args[++i].toInt(&ok);
        else if (args[i].startsWith(u'-') || !path.isEmpty())
            return usage();
        else
            path = args[i];
        if (!ok || runs < 1)
            return usage();
    }
    if (path.isEmpty())
        return usage();
    if (!QFileInfo(path).isFile()) {
        std::fprintf(stderr, "forkwise-bench-open: %s: no such file\n", qPrintable(path));
        return 1;
    }

    // A failing command would otherwise be timed as a fast one: report it and stop.
    QStringList failures;
    setMsgBoxHandler([&failures](const QString& prompt, int, const QString&) {
        failures << prompt;
        return int(vbOK);
    });
    gSupportMsg = supportSentence();

    Run first;
    std::vector<Run> measured(size_t(runs), Run{});
    bool ok = loadOnce(path, first);
    for (Run& r : measured)
        ok = ok && loadOnce(path, r);
    if (!ok || !failures.isEmpty()) {
        std::fprintf(stderr, "forkwise-bench-open: the load failed: %s\n",
                     qPrintable(failures.join(u"; "_s)));
        return 1;
    }

    auto column = [&](auto pick) {
        std::vector<double> v;
        for (const Run& r : measured)
            v.push_back(pick(r));
        return v;
    };
    const std::vector<double> totals = column([](const Run& r) { return r.totalMs; });
    const Run& last = measured.back();

    print(
        u"Open and load of %1 (%2 bytes), warm file cache"_s.arg(path).arg(QFileInfo(path).size()));
    print(u"  loaded: %1 groups, %2 foods, %3 diet rows and %4 dates of %5 (\"%6\")"_s
              .arg(last.groups)
              .arg(last.foods)
              .arg(last.dietRows)
              .arg(last.dates)
              .arg(last.user, last.userName));
    print(u"  first run of the process: %1 ms"_s.arg(first.totalMs, 0, 'f', 1));
    print(
        u"  %1 runs after it: min %2 ms, median %3 ms, max %4 ms   (goal: under 100 ms)"_s.arg(runs)
            .arg(*std::min_element(totals.begin(), totals.end()), 0, 'f', 1)
            .arg(median(totals), 0, 'f', 1)
            .arg(*std::max_element(totals.begin(), totals.end()), 0, 'f', 1));
    print(u"  memory held by the open result sets: %1 MB of heap (median; glibc heap in use "
          "after the load minus before it, SQLite's page cache included; goal: under 40 MB)"_s.arg(
              median(column([](const Run& r) { return r.heapMB; })), 0, 'f', 2));
    print(u"  of which SQLite's allocations (sqlite3_memory_used): %1 MB"_s.arg(
        median(column([](const Run& r) { return r.sqliteMB; })), 0, 'f', 2));
    print(u"  per step, ms:                         median  first run"_s);
    for (int s = 0; s < kSteps; ++s)
        print(u"    %1 %2 %3"_s.arg(QString::fromLatin1(kStepNames[size_t(s)]), -34)
                  .arg(median(column([s](const Run& r) { return r.stepMs[s]; })), 7, 'f', 2)
                  .arg(first.stepMs[s], 10, 'f', 2));
    print(u"  after the load, ms:"_s);
    print(u"    %1 %2 %3"_s.arg(QString::fromLatin1(kFirstUse), -34)
              .arg(median(column([](const Run& r) { return r.firstUseMs; })), 7, 'f', 2)
              .arg(first.firstUseMs, 10, 'f', 2));
    return 0;
}
