// forkwise-bench-entries: how long logging a food takes on a large diet log, through the main
// window's own handlers, offscreen.
//
//   double click: a favourite food is clicked (not timed), then double clicked; timed from the
//     double click until the new entry is selected under today's day and the window has
//     processed the events that follow (its repaint included). The first one also loads
//     today's entries, which had not been opened.
//   drop: a favourite food is dragged (the press and the start of the drag are not timed) and
//     dropped with the left button on a day never opened, which holds 20 entries; timed from
//     the drop until the day shows 21 entries with the new one selected and the events that
//     follow are processed.
//   paste of a day: a day of 20 entries, never opened, is copied (not timed) and pasted with
//     Edit > Paste on another day never opened; timed from the paste until the day shows 40
//     entries with the first new one selected and the events that follow are processed.
//
// Every entry is committed to the file at once with a synchronous commit, so the figures include
// the file system's flush to the disk; run it with --dir on a tmpfs to see the share of that.

#include "BenchOutput.h"
#include "DietNodes.h"
#include "FoodNodes.h"
#include "Module1.h"
#include "Module1App.h"
#include "Seams.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/vfs.h>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

using bench::median;
using bench::msOf;
using bench::print;
using bench::summary;

constexpr int kDayEntries = 20; // entries of the current user on every day of the household log
constexpr unsigned long kTmpfsMagic = 0x01021994;

int fail(const QString& why) {
    return bench::fail("forkwise-bench-entries", why);
}

QString fileSystemOf(const QString& path) {
    struct statfs fs {};
    if (statfs(QFile::encodeName(path).constData(), &fs) != 0)
        return u"unknown file system"_s;
    return (static_cast<unsigned long>(fs.f_type) == kTmpfsMagic) ? u"tmpfs (memory)"_s
                                                                  : u"a disk file system"_s;
}

QString newEntryKey() {
    return u'D' + QString::number(gDataSource->rscmdDietData->LastModified());
}

// The window and the checks and timings of the two ways of logging a food.
class Bench {
public:
    explicit Bench(frmMain& w) : w_(w) {}

    QString error;

    // The favourites, expanded as a user keeps them: the foods double clicked and dropped.
    bool prepare() {
        TreeNode* favourites = nullptr;
        for (int i = 0; i < w_.tvwFood->topLevelItemCount(); ++i)
            if (TreeNode* group = TreeNode::of(w_.tvwFood->topLevelItem(i));
                group && group->Tag() == kFavorite)
                favourites = group;
        if (!favourites)
            return failed(u"no favourites group in the food tree"_s);
        favourites->setExpanded(true);
        for (int i = 0; i < favourites->Children(); ++i)
            if (favourites->Child(i)->Tag() == kFoodItem)
                foods_.push_back(favourites->Child(i));
        if (foods_.empty())
            return failed(u"the favourites hold no foods"_s);
        QApplication::processEvents();
        return true;
    }

    bool doubleClick(int run, double& clickMs, double& ms) {
        TreeNode* food = foods_[size_t(run) % foods_.size()];
        QElapsedTimer t;
        t.start();
        click(food);
        QApplication::processEvents();
        clickMs = msOf(t);

        t.start();
        Q_EMIT w_.tvwFood->DblClick();
        TreeNode* selected = w_.tvwDiet->selectedNode();
        const bool ok = selected && selected->Key() == newEntryKey() && selected->Parent() &&
                        selected->Parent()->Key() == dayKey(Clock::today()) &&
                        selected->Text() == food->Text();
        QApplication::processEvents();
        ms = msOf(t);
        return ok ||
               failed(u"double click %1: the new entry is not selected under today"_s.arg(run + 1));
    }

    // Days of the current user's log other than today, never opened, spread over the years:
    // `count` for drops and as many for pastes, and the day copied for those.
    bool pickDays(int count) {
        count = 2 * count + 1;
        std::vector<TreeNode*> unopened;
        const QString today = dayKey(Clock::today());
        for (int i = 0; i < w_.tvwDiet->topLevelItemCount(); ++i) {
            TreeNode* day = TreeNode::of(w_.tvwDiet->topLevelItem(i));
            if (day && day->Tag() == kDietDay && day->Children() == 0 && day->Key() != today)
                unopened.push_back(day);
        }
        if (int(unopened.size()) < count)
            return failed(u"only %1 unopened days in the diet tree"_s.arg(unopened.size()));
        for (int i = 0; i < count; ++i)
            days_.push_back(unopened[size_t(i) * (unopened.size() - 1) / size_t(count - 1)]);
        return true;
    }

    bool drop(int run, double& ms) {
        TreeNode* food = foods_[size_t(run) % foods_.size()];
        TreeNode* day = days_[size_t(run)];
        // The press on the food and the start of its drag.
        click(food);
        QMimeData data;
        data.setData(TreeControl::mimeType(),
                     (w_.tvwFood->objectName() + u'\n' + food->Key()).toUtf8());
        Qt::DropActions effects = Qt::MoveAction | Qt::CopyAction;
        Q_EMIT w_.tvwFood->OLEStartDrag(&data, effects);
        // The pointer reaches the day.
        w_.tvwDiet->EnsureVisible(day);
        QApplication::processEvents();
        const QPoint at = w_.tvwDiet->visualItemRect(day).center();
        if (w_.tvwDiet->hitTest(at) != day || day->Children() != 0)
            return failed(
                u"drop %1: the day %2 is not an unopened day under the pointer"_s.arg(run + 1).arg(
                    day->Text()));

        QElapsedTimer t;
        t.start();
        Qt::DropAction effect = Qt::CopyAction;
        Q_EMIT w_.tvwDiet->OLEDragDrop(&data, effect, TreeButton::Left, 0, at.x(), at.y());
        Q_EMIT w_.tvwFood->OLECompleteDrag(effect);
        TreeNode* selected = w_.tvwDiet->selectedNode();
        const bool ok = day->Children() == kDayEntries + 1 && selected &&
                        selected->Parent() == day && selected->Key() == newEntryKey();
        QApplication::processEvents();
        ms = msOf(t);
        return ok || failed(u"drop %1 on %2: %3 entries, the new one %4"_s.arg(run + 1)
                                .arg(day->Text())
                                .arg(day->Children())
                                .arg(selected && selected->Parent() == day ? u"selected"_s
                                                                           : u"not selected"_s));
    }

    // Copies the last day picked, from the diet tree, with Edit > Copy.
    bool copyDay() {
        TreeNode* day = days_.back();
        Q_EMIT w_.tvwDiet->GotFocus();
        click(w_.tvwDiet, day);
        QAction* copy = w_.action(u"mnuEditCopy"_s);
        if (!copy->isEnabled())
            return failed(u"Copy is not enabled on the day %1"_s.arg(day->Text()));
        copy->trigger();
        return w_.action(u"mnuEditPaste"_s)->isEnabled() ||
               failed(u"Copy on the day %1 did not enable Paste"_s.arg(day->Text()));
    }

    bool pasteDay(int run, double& ms, double& cpu) {
        TreeNode* day = days_[days_.size() / 2 + size_t(run)];
        click(w_.tvwDiet, day);
        QApplication::processEvents();
        const auto key = Recordset::openSnapshot(
            gDataSource->appDB,
            u"SELECT KeyValue + 1 FROM TableKey WHERE KeyName = 'DIETACTIVITY'"_s);
        const long firstNew = long(key->Fields(key->fieldNames().first()).toLongLong());
        cpu = bench::cpuMs();
        QElapsedTimer t;
        t.start();
        w_.action(u"mnuEditPaste"_s)->trigger();
        TreeNode* selected = w_.tvwDiet->selectedNode();
        const bool ok = day->Children() == 2 * kDayEntries && selected &&
                        selected->Parent() == day && selected->Key() == entryKey(firstNew);
        QApplication::processEvents();
        ms = msOf(t);
        cpu = bench::cpuMs() - cpu;
        return ok || failed(u"paste %1 on %2: %3 entries"_s.arg(run + 1)
                                .arg(day->Text())
                                .arg(day->Children()));
    }

private:
    // The press of a node, as the tree reports it: selected, then NodeClick.
    static void click(TreeControl* tree, TreeNode* node) {
        tree->selectNode(node);
        Q_EMIT tree->NodeClick(node);
    }
    void click(TreeNode* food) { click(w_.tvwFood, food); }
    bool failed(const QString& why) {
        error = why;
        return false;
    }

    frmMain& w_;
    std::vector<TreeNode*> foods_;
    std::vector<TreeNode*> days_;
};

int usage() {
    std::fputs("usage: forkwise-bench-entries LOG_DB [--runs N] [--dir TEMP_PARENT]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    bench::quietSizeHintWarnings();
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QString log, parent = QDir::tempPath();
    int runs = 50;
    for (qsizetype i = 0; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == u"--runs"_s && i + 1 < args.size())
            runs = args[++i].toInt(&ok);
        else if (args[i] == u"--dir"_s && i + 1 < args.size())
            parent = args[++i];
        else if (args[i].startsWith(u'-') || !log.isEmpty())
            return usage();
        else
            log = args[i];
        if (!ok || runs < 2)
            return usage();
    }
    if (log.isEmpty())
        return usage();
    if (!QFileInfo(log).isFile())
        return fail(log + u": no such file"_s);

    // The program's folder, with its own copy of the log.
    QTemporaryDir folder(parent + u"/forkwise-entries-XXXXXX"_s);
    QStringList boxes;
    if (const QString why = bench::startOnCopy(log, folder, boxes); !why.isEmpty())
        return fail(why);
    frmMain& w = *gMainForm;
    Bench bench(w);
    if (!bench.prepare() || !bench.pickDays(runs))
        return fail(bench.error);
    const TreeNode* today = w.tvwDiet->Item(dayKey(Clock::today()));
    const QString todayHolds =
        today ? u"today's day is in the log, not yet opened"_s : u"today is not in the log yet"_s;

    std::vector<double> clicks, doubleClicks, drops;
    for (int i = 0; i < runs && boxes.isEmpty(); ++i) {
        double clickMs = 0, ms = 0;
        if (!bench.doubleClick(i, clickMs, ms))
            return fail(bench.error);
        clicks.push_back(clickMs);
        doubleClicks.push_back(ms);
    }
    for (int i = 0; i < runs && boxes.isEmpty(); ++i) {
        double ms = 0;
        if (!bench.drop(i, ms))
            return fail(bench.error);
        drops.push_back(ms);
    }
    std::vector<double> pastes, pastesCpu;
    if (boxes.isEmpty() && !bench.copyDay())
        return fail(bench.error);
    for (int i = 0; i < runs && boxes.isEmpty(); ++i) {
        double ms = 0, cpu = 0;
        if (!bench.pasteDay(i, ms, cpu))
            return fail(bench.error);
        pastes.push_back(ms);
        pastesCpu.push_back(cpu);
    }
    if (!boxes.isEmpty())
        return fail(u"a message box appeared: "_s + boxes.join(u"; "_s));
    const qint64 rows = gDataSource->rscmdDietData->RecordCount();
    w.close();
    QApplication::processEvents();
    gDataSource.reset();

    print(
        u"Diet entries through the main window's handlers, offscreen, on a copy of %1"_s.arg(log));
    print(u"  the copy is on %1 (%2); every entry is committed with a synchronous commit, so "
          "the figures include the flush to the file"_s.arg(fileSystemOf(folder.path()),
                                                            folder.path()));
    print(u"  %1 entries of the current user loaded; %2"_s.arg(rows - (2 + kDayEntries) * runs)
              .arg(todayHolds));
    print(u"  double click on a favourite food until the new entry is selected under today, %1 "
          "runs:"_s.arg(runs));
    print(u"    first (also opens today's day): %1 ms"_s.arg(doubleClicks.front(), 0, 'f', 2));
    print(u"    %1   (goal: under 5 ms)"_s.arg(summary(doubleClicks)));
    print(u"    the click before it (select and NodeClick, not counted above): median %1 ms"_s.arg(
        median(clicks), 0, 'f', 2));
    print(u"  left-button drop of a favourite food on an unopened day of %1 entries, until the "
          "day shows %2 with the new one selected, %3 runs on %3 different days:"_s.arg(kDayEntries)
              .arg(kDayEntries + 1)
              .arg(runs));
    print(u"    %1   (goal: under 5 ms)"_s.arg(summary(drops)));
    print(
        u"  Edit > Paste of a copied day of %1 entries on an unopened day of %1, until the day "
        "shows %2 with the first new one selected, %3 runs on %3 different days:"_s.arg(kDayEntries)
            .arg(2 * kDayEntries)
            .arg(runs));
    print(u"    %1; CPU median %2 ms   (goal: under 20 ms on tmpfs)"_s.arg(summary(pastes))
              .arg(median(pastesCpu), 0, 'f', 2));
    return 0;
}
