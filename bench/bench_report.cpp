// forkwise-bench-report: Tools > Produce Diet Report on a large log, through the main window's own
// handler, offscreen (or on the platform QT_QPA_PLATFORM names). Each report is timed from OK in
// the criteria dialog until the report window is shown and idle: painted, no event left to
// process, and no timer shorter than the text cursor's blink pending on the window or anything
// in it (a view that lays out its text in steps keeps such a timer until it is done).
//
//   year: the user's last 365 days (7,300 entries in the household log) as a range;
//   ten years: every entry of the user;
//   export: Export... of the year's report into a PDF, from the click until the file is written;
//   no printer: Print of the ten years without any printer, into a PDF in the documents folder,
//     with its time and the peak of the memory the program held meanwhile;
//   one day: the year's entries all moved onto its last day (in the program's copy of the log),
//     the report of that one day.
// Besides the time on the clock, each figure gives the CPU time the program used (user and
// system, all threads): on a machine shared with other work, the clock also counts the time the
// program waited for a core.
// The memory held by the open ten-year report is the program's resident memory while the report
// is shown, less that of the idle main window before the first report.
//
//   forkwise-bench-report LOG_DB [--runs N] [--year-only]
// --year-only times the year's report alone (for a run with accessibility on).

#include "BenchOutput.h"
#include "Module1.h"
#include "Recordset.h"
#include "ReportOutput.h"
#include "ShowModal.h"
#include "clsFWSDataSource.h"
#include "frmReportCrit.h"

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QDateEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <ctime>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

using bench::cpuMs;
using bench::msOf;
using bench::print;
using bench::summary;

// Clock times and CPU times of the same runs.
struct Times {
    std::vector<double> wall;
    std::vector<double> cpu;
    QString text() const {
        return summary(wall) + u"; CPU median %1 ms"_s.arg(bench::median(cpu), 0, 'f', 2);
    }
};

int fail(const QString& why) {
    return bench::fail("forkwise-bench-report", why);
}

// A line of /proc/self/status in megabytes ("VmRSS", "VmHWM"); 0 where there is none.
double statusMb(const char* key) {
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QString text = QString::fromLatin1(status.readAll());
    const QRegularExpression line(QString::fromLatin1(key) + u":\\s+(\\d+) kB"_s);
    return line.match(text).captured(1).toDouble() / 1024.0;
}

// Starts the peak of the resident memory afresh (VmHWM).
void resetPeak() {
    QFile refs(u"/proc/self/clear_refs"_s);
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// Counts the events the application delivers and notes a paint of the watched window.
class EventWatch : public QObject {
public:
    bool eventFilter(QObject* object, QEvent* event) override {
        ++events;
        if (event->type() == QEvent::Paint && window && object->isWidgetType() &&
            (object == window || window->isAncestorOf(static_cast<QWidget*>(object))))
            painted = true;
        return false;
    }
    QWidget* window = nullptr;
    long events = 0;
    bool painted = false;
};

bool timerPending(QWidget& window) {
    const auto* dispatcher = QAbstractEventDispatcher::instance();
    QList<QObject*> objects = window.findChildren<QObject*>();
    objects.prepend(&window);
    for (QObject* o : objects)
        for (const auto& timer : dispatcher->registeredTimers(o))
            if (timer.interval < 500)
                return true;
    return false;
}

// Runs events until `window` has been painted and nothing is left to do.
void waitUntilIdle(QWidget& window, EventWatch& watch) {
    for (;;) {
        watch.events = 0;
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (watch.events > 0)
            continue;
        if (!watch.painted || timerPending(window))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        else
            return;
    }
}

struct Reports {
    frmMain& main;
    EventWatch watch;
    QElapsedTimer timer;
    Times times;

    // Produces the report of lo..hi; `onShown` runs while the idle report window is open.
    // Adds the time from OK until the window was idle to `times`.
    void report(QDate lo, QDate hi, const std::function<void(QDialog&)>& onShown = {}) {
        double cpu = 0;
        setModalHandler([&](QDialog& d) {
            if (auto* crit = qobject_cast<frmReportCrit*>(&d)) {
                crit->dtLoDate->setDate(lo);
                crit->dtHighDate->setDate(hi);
                timer.start();
                cpu = cpuMs();
                crit->OKButton->click();
                return crit->result();
            }
            watch.window = &d;
            watch.painted = false;
            d.show();
            waitUntilIdle(d, watch);
            times.wall.push_back(msOf(timer));
            times.cpu.push_back(cpuMs() - cpu);
            if (onShown)
                onShown(d);
            watch.window = nullptr;
            d.findChild<QPushButton*>(u"cmdQuit"_s)->click();
            return d.result();
        });
        main.action(u"mnuToolsDietReport"_s)->trigger();
        setModalHandler({});
        QCoreApplication::processEvents();
    }
    Times take() { return std::exchange(times, {}); }
};

qint64 countOf(const QString& sql, const QVariantList& params) {
    auto rs = Recordset::openSnapshot(gDataSource->appDB, sql, params);
    return rs->Fields(u"n"_s).toLongLong();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    bench::quietSizeHintWarnings();
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as soon as it is known
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool yearOnly = args.removeAll(u"--year-only"_s) > 0;
    const int runs = args.size() == 3 && args[1] == u"--runs" ? args[2].toInt() : 5;
    if (args.isEmpty() || !QFileInfo::exists(args[0]) || runs < 1)
        return fail(u"usage: forkwise-bench-report LOG_DB [--runs N] [--year-only]"_s);
    const QString log = args[0];

    QTemporaryDir folder(QDir::tempPath() + u"/forkwise-report-XXXXXX"_s);
    QStringList boxes;
    if (const QString why = bench::startOnCopy(log, folder, boxes); !why.isEmpty())
        return fail(why);
    // The screen reader's bridge connects over D-Bus in the background when asked to be on.
    if (qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON")) {
        QElapsedTimer wait;
        wait.start();
        while (!QAccessible::isActive() && wait.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    }
    Reports r{*gMainForm, {}, {}, {}};
    app.installEventFilter(&r.watch);
    QCoreApplication::processEvents();
    const double idleMb = statusMb("VmRSS");

    auto span = Recordset::openSnapshot(
        gDataSource->appDB,
        u"SELECT min(DietDate) AS lo, max(DietDate) AS hi FROM DietActivity WHERE UserName = ?"_s,
        {gCurrentUser});
    const QDate first = span->Fields(u"lo"_s).toDate(), last = span->Fields(u"hi"_s).toDate();
    span.reset();
    if (!first.isValid())
        return fail(u"the log has no entries of "_s + gCurrentUser);
    const QDate yearLo = last.addDays(-364);
    const auto entries = [](QDate lo, QDate hi) {
        return countOf(u"SELECT count(*) AS n FROM DietActivity WHERE UserName = ? AND "
                       "DietDate BETWEEN ? AND ?"_s,
                       {gCurrentUser, lo.toString(Qt::ISODate), hi.toString(Qt::ISODate)});
    };
    const qint64 yearEntries = entries(yearLo, last);
    const qint64 allEntries = entries(first, last);
    const auto noBoxes = [&]() {
        if (boxes.isEmpty())
            return true;
        fail(u"a message box appeared: "_s + boxes.join(u"; "_s));
        return false;
    };

    print(
        u"Tools > Produce Diet Report of %1 on a copy of %2, from OK in the criteria dialog until "
        "the report window is shown and idle, %3 runs each; accessibility %4:"_s.arg(gCurrentUser)
            .arg(log)
            .arg(runs)
            .arg(QAccessible::isActive() ? u"on"_s : u"off"_s));
    for (int i = 0; i < runs; ++i)
        r.report(yearLo, last);
    const Times year = r.take();
    if (!noBoxes())
        return 1;
    print(u"  one year as a range (%1 entries, %2 days):"_s.arg(yearEntries).arg(365));
    print(u"    %1   (goal: under %2)"_s.arg(
        year.text(), QAccessible::isActive() ? u"2 s with accessibility on"_s : u"250 ms"_s));
    if (yearOnly)
        return 0;

    std::vector<double> held;
    for (int i = 0; i < runs; ++i)
        r.report(first, last, [&](QDialog&) { held.push_back(statusMb("VmRSS") - idleMb); });
    const Times all = r.take();
    if (!noBoxes())
        return 1;
    print(u"  all ten years (%1 entries, %2 days):"_s.arg(allEntries).arg(first.daysTo(last) + 1));
    print(u"    %1   (goal: under 1.5 s)"_s.arg(all.text()));
    print(u"  memory held by the open ten-year report, over the idle program's %1 MB:"_s.arg(
        idleMb, 0, 'f', 0));
    print(
        u"    median %1 MB, max %2 MB   (goal: under 120 MB)"_s.arg(bench::median(held), 0, 'f', 1)
            .arg(*std::max_element(held.begin(), held.end()), 0, 'f', 1));

    // Export... of the year into a PDF file, chosen at once.
    Times exports;
    qint64 pdfBytes = 0;
    const QString pdf = folder.filePath(u"year.pdf"_s);
    setExportFileChooser([&](QWidget*, const QString&) { return pdf; });
    for (int i = 0; i < runs; ++i) {
        QFile::remove(pdf);
        r.report(yearLo, last, [&](QDialog& d) {
            QElapsedTimer t;
            t.start();
            const double cpu = cpuMs();
            d.findChild<QPushButton*>(u"cmdExport"_s)->click();
            exports.wall.push_back(msOf(t));
            exports.cpu.push_back(cpuMs() - cpu);
        });
        pdfBytes = QFileInfo(pdf).size();
    }
    setExportFileChooser({});
    if (!noBoxes())
        return 1;
    if (pdfBytes == 0)
        return fail(u"the PDF was not written"_s);
    print(u"  Export... of the year into a PDF (%1 MB), from the click until it is written:"_s.arg(
        double(pdfBytes) / 1e6, 0, 'f', 1));
    print(u"    %1"_s.arg(exports.text()));

    // Print of the ten years with no printer at all: a PDF in the documents folder.
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", folder.path().toUtf8());
    setPrinterFactory([](const QString&) { return nullptr; });
    double printMs = 0, printCpu = 0, peakMb = 0, beforeMb = 0;
    r.report(first, last, [&](QDialog& d) {
        beforeMb = statusMb("VmRSS");
        resetPeak();
        QElapsedTimer t;
        t.start();
        const double cpu = cpuMs();
        d.findChild<QPushButton*>(u"cmdPrint"_s)->click();
        printMs = msOf(t);
        printCpu = cpuMs() - cpu;
        peakMb = statusMb("VmHWM");
    });
    setPrinterFactory({});
    qputenv("HOME", oldHome);
    const QFileInfoList written =
        QDir(folder.filePath(u"Documents"_s)).entryInfoList({u"*.pdf"_s}, QDir::Files);
    if (boxes.size() != 1 || written.size() != 1)
        return fail(u"the PDF of the ten years was not written: "_s + boxes.join(u"; "_s));
    boxes.clear();
    print(u"  Print of the ten years without printers, into a PDF (%1 MB), once:"_s.arg(
        double(written[0].size()) / 1e6, 0, 'f', 1));
    print(u"    %1 ms (CPU %2 ms); peak resident memory %3 MB, %4 MB over the open report's"_s
              .arg(printMs, 0, 'f', 0)
              .arg(printCpu, 0, 'f', 0)
              .arg(peakMb, 0, 'f', 0)
              .arg(peakMb - beforeMb, 0, 'f', 0));

    // The year's entries on its last day.
    gDataSource->appDB.execute(u"UPDATE DietActivity SET DietDate = ? WHERE UserName = ? AND "
                               "DietDate BETWEEN ? AND ?"_s,
                               {last.toString(Qt::ISODate), gCurrentUser,
                                yearLo.toString(Qt::ISODate), last.toString(Qt::ISODate)});
    gDataSource->appDB.execute(
        u"DELETE FROM DietDay WHERE UserName = ? AND DietDate >= ? AND DietDate < ?"_s,
        {gCurrentUser, yearLo.toString(Qt::ISODate), last.toString(Qt::ISODate)});
    const qint64 dayEntries = entries(last, last);
    for (int i = 0; i < runs; ++i)
        r.report(last, last);
    const Times day = r.take();
    if (!noBoxes())
        return 1;
    print(u"  the same entries on one day (%1 entries):"_s.arg(dayEntries));
    print(u"    %1   (goal: under 250 ms)"_s.arg(day.text()));

    gMainForm->close();
    QApplication::processEvents();
    gDataSource.reset();
    return 0;
}
