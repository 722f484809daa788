// forkwise-bench-restore: File > Restore Backup... of a checked copy of a large log, through the
// main window's own handler, offscreen. Timed from the command (the dialog answered at once, the
// restore confirmed) until both trees are shown again: the dialog's list with each copy's entry
// counts, the checked copy of the present state, the check of the chosen copy, its pages written
// into the open connection, and the result sets and both trees read again. Each run restores the
// newest copy, which is the state the run before kept. Then, with the folder filled up to 15
// copies of the log, the dialog alone: from the command until it is shown with its list.

#include "BenchOutput.h"
#include "Module1.h"
#include "ShowModal.h"
#include "Snapshot.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "frmRestore.h"

#include <QPushButton>
#include <QTreeWidget>
#include <ctime>

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr int kCopies = 15;

int fail(const QString& why) {
    return bench::fail("forkwise-bench-restore", why);
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    bench::quietSizeHintWarnings();
    QApplication app(argc, argv);
    const bench::LogArgs args = bench::logArgs("forkwise-bench-restore", 5, 1);
    if (args.log.isEmpty())
        return 1;
    const int runs = args.runs;

    QTemporaryDir folder(QDir::tempPath() + u"/forkwise-restore-XXXXXX"_s);
    QStringList boxes;
    if (const QString why = bench::startOnCopy(args.log, folder, boxes); !why.isEmpty())
        return fail(why);
    frmMain& w = *gMainForm;
    if (const SnapshotResult copy = takeSnapshot(gDataSource->appDB, true); !copy.saved())
        return fail(u"no backup copy: "_s + copy.reason);
    const qint64 size = listBackups(gDBPath).value(0).size;
    const int days = w.tvwDiet->Count();

    setMsgBoxHandler([&boxes](const QString& prompt, int, const QString&) {
        if (!prompt.startsWith(u"Replace the diet log"_s))
            boxes << prompt;
        return int(vbYes);
    });
    setModalHandler([](QDialog& d) {
        auto& f = dynamic_cast<frmRestore&>(d);
        f.lstBackups->setCurrentItem(f.lstBackups->topLevelItem(0));
        f.cmdRestore->click();
        return d.result();
    });
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        w.tvwDiet->Clear(); // shown again only by the restore
        timer.start();
        w.action(u"mnuFileRestore"_s)->trigger();
        times.push_back(bench::msOf(timer));
        if (!boxes.isEmpty())
            return fail(u"a message box appeared: "_s + boxes.join(u"; "_s));
        if (w.tvwDiet->Count() != days || w.tvwFood->Count() == 0)
            return fail(u"the trees were not shown again"_s);
    }

    // Fifteen copies, one a day back from yesterday besides those the runs left: distinct files,
    // as a household that kept every copy would have them.
    const QString newest = listBackups(gDBPath).value(0).path;
    const QDir backups(QFileInfo(newest).absolutePath());
    for (int back = 1; listBackups(gDBPath).size() < kCopies; ++back) {
        const QString name = u"%1 %2 120000.%3"_s.arg(
            QFileInfo(gDBPath).completeBaseName(),
            Clock::today().addDays(-back).toString(Qt::ISODate), QFileInfo(gDBPath).suffix());
        if (!backups.exists(name) && !QFile::copy(newest, backups.filePath(name)))
            return fail(u"cannot copy "_s + newest);
    }
    std::vector<double> opening, openingCpu;
    std::clock_t cpu = 0;
    int rows = 0;
    setModalHandler([&](QDialog& d) {
        opening.push_back(bench::msOf(timer));
        openingCpu.push_back(double(std::clock() - cpu) * 1000 / CLOCKS_PER_SEC);
        auto& f = dynamic_cast<frmRestore&>(d);
        rows = f.lstBackups->topLevelItemCount();
        f.cmdCancel->click();
        return d.result();
    });
    for (int i = 0; i < runs; ++i) {
        cpu = std::clock();
        timer.start();
        w.action(u"mnuFileRestore"_s)->trigger();
        if (rows != kCopies)
            return fail(u"the dialog listed %1 copies"_s.arg(rows));
    }
    setModalHandler({});
    w.close();
    QApplication::processEvents();
    gDataSource.reset();

    bench::print(u"File > Restore Backup... of a %1 MB copy of %2 (%3 days of the user), until "
                 "both trees are shown again, %4 runs:"_s.arg(double(size) / 1e6, 0, 'f', 1)
                     .arg(args.log)
                     .arg(days)
                     .arg(runs));
    bench::print(u"    %1   (goal: under 2 s)"_s.arg(bench::summary(times)));
    bench::print(u"File > Restore Backup... with %1 copies of it, until the dialog is shown with "
                 "its list, %2 runs:"_s.arg(kCopies)
                     .arg(runs));
    bench::print(u"    %1   (goal: under 1 s)"_s.arg(bench::summary(opening)));
    bench::print(u"    processor time of all threads: %1"_s.arg(bench::summary(openingCpu)));
    return 0;
}
