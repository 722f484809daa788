// forkwise-bench-restore: File > Restore Backup... of a checked copy of a large log, through the
// main window's own handler, offscreen. Timed from the command (the dialog answered at once, the
// restore confirmed) until both trees are shown again: the dialog's list with each copy's entry
// counts, the checked copy of the present state, the check of the chosen copy, its pages written
// into the open connection, and the result sets and both trees read again. Each run restores the
// newest copy, which is the state the run before kept.

#include "BenchOutput.h"
#include "Module1.h"
#include "ShowModal.h"
#include "Snapshot.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "frmRestore.h"

#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::Literals::StringLiterals;

namespace {
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
    if (const SnapshotResult copy = TakeSnapshot(gDataSource->appDB, true); !copy.saved())
        return fail(u"no backup copy: "_s + copy.reason);
    const qint64 size = ListBackups(gDBPath).value(0).size;
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
    return 0;
}
