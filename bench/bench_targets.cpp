// forkwise-bench-targets: daily targets on a large diet log, through the main window's own
// handlers, offscreen. The current user gets a target for every nutrient first.
//
//   totals: View Diet Totals (F7) on a day of the log, never opened, each run another day spread
//     over the years; timed from the command until the window with its eight rows and eight bars
//     is shown and the events that follow are processed. It is closed again (not timed).
//   today: the status bar's panel of today's calories brought up to date, as after any change of
//     the diet log; the day is the log's last, which holds its 20 entries. Once with the targets
//     held, once reading them again as after a change of user or a save of the targets.

#include "BenchOutput.h"
#include "DailyTargets.h"
#include "DietNodes.h"
#include "Module1.h"
#include "Recordset.h"
#include "TodayCalories.h"
#include "TreeControl.h"
#include "TreeNode.h"
#include "clsFWSDataSource.h"
#include "frmDietDetails.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>

using namespace Qt::Literals::StringLiterals;

namespace {

using bench::msOf;
using bench::print;
using bench::summary;

int fail(const QString& why) {
    return bench::fail("forkwise-bench-targets", why);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    bench::quietSizeHintWarnings();
    QApplication app(argc, argv);
    const bench::LogArgs args = bench::logArgs("forkwise-bench-targets", 50, 2);
    if (args.log.isEmpty())
        return 1;
    const int runs = args.runs;

    QTemporaryDir folder(QDir::tempPath() + u"/forkwise-targets-XXXXXX"_s);
    QStringList boxes;
    if (const QString why = bench::startOnCopy(args.log, folder, boxes); !why.isEmpty())
        return fail(why);
    frmMain& w = *gMainForm;
    // Today is the log's last day.
    const QDate last = Recordset::openSnapshot(gDataSource->appDB,
                                               u"SELECT max(DietDate) AS d FROM DietActivity"_s)
                           ->Fields(u"d"_s)
                           .toDate();
    Clock::setFixed(QDateTime(last, QTime(12, 0)));
    DailyTargets targets;
    for (const QString& column : Nutrients::columns())
        targets.set(column, 100);
    if (!SaveDailyTargets(gCurrentUser, targets))
        return fail(u"the targets were not saved"_s);
    auto* today = w.findChild<TodayCalories*>();
    auto* panel = w.findChild<QLabel*>(u"sbStatusBar_PanelToday"_s);
    if (!today || !panel)
        return fail(u"no panel of today's calories"_s);

    // The targets were saved behind the window's back: it is told, as the dialog tells it.
    today->forgetTargets();
    today->refresh();
    std::vector<double> held, read;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        today->refresh();
        held.push_back(msOf(timer));
        today->forgetTargets();
        timer.start();
        today->refresh();
        read.push_back(msOf(timer));
    }
    if (panel->isHidden() || !panel->text().startsWith(u"Today: "_s))
        return fail(u"the panel shows \""_s + panel->text() + u'"');

    // Days spread over the years, none of them opened.
    TreeControl* diet = w.tvwDiet;
    std::vector<TreeNode*> days;
    for (int i = 0; i < diet->topLevelItemCount(); ++i)
        if (TreeNode* day = TreeNode::of(diet->topLevelItem(i)); day && day->Children() == 0)
            days.push_back(day);
    if (int(days.size()) < runs)
        return fail(u"only %1 days in the diet tree"_s.arg(days.size()));
    QAction* totals = w.action(u"mnuEditDietDetails"_s);
    std::vector<double> opened;
    for (int i = 0; i < runs; ++i) {
        diet->setFocus();
        TreeNode* day = days[size_t(i) * (days.size() - 1) / size_t(runs - 1)];
        diet->selectNode(day);
        QApplication::processEvents();
        timer.start();
        totals->trigger();
        QApplication::processEvents();
        opened.push_back(msOf(timer));
        auto* window = w.findChild<frmDietDetails*>();
        if (!window || window->findChildren<QProgressBar*>().size() != Nutrients::Count)
            return fail(u"the totals window did not show eight bars"_s);
        window->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    if (!boxes.isEmpty())
        return fail(u"a message box appeared: "_s + boxes.join(u"; "_s));
    const long entries = gDataSource->rscmdDietData->RecordCount();
    w.close();
    QApplication::processEvents();

    print(u"Daily targets on the current user's %1 diet entries, offscreen, on a copy of %2"_s
              .arg(entries)
              .arg(args.log));
    print(u"  View Diet Totals of a never-opened day, eight rows against their targets with "
          "bars, %1 runs:"_s.arg(runs));
    print(u"    %1   (goal: under 50 ms)"_s.arg(summary(opened)));
    print(u"  Today's calories in the status bar, the targets held, %1 runs:"_s.arg(runs));
    print(u"    %1   (goal: under 5 ms)"_s.arg(summary(held)));
    print(u"  The same, the targets read again (a change of user or of the targets), %1 "
          "runs:"_s.arg(runs));
    print(u"    %1   (goal: under 5 ms)"_s.arg(summary(read)));
    return 0;
}
