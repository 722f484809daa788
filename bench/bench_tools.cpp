// forkwise-bench-tools: Edit > Find and Find Next on the current user's diet entries of a large
// log, and Tools > Purge Diet Data, through the main window's own handlers, offscreen.
//
//   last: a new text only the user's last entry (in date, name, id order) matches, from the
//     first row; timed from the command until the entry is selected (its day loaded first).
//   none: a new text no entry matches, from the first row, timed until the "No Matching Food
//     entry found" box; then Find Next on it, a whole turn with the wrap. A search reads every
//     name of the set once; the matches are kept until the database changes, so Find Next
//     only walks the rows.
//   next: Find Next from one match to the next, the matches 1,000 entries apart; timed until
//     the next match is selected in its never-opened day.
//   close: the window closed after a change, until the file is closed and its checked copy made.
//   purge: a year of the user's entries, answered Yes; timed from the command until the diet
//     tree is rebuilt, the checked copy of the log (the backup copy on the disk beside the log
//     and its integrity check) included.

#include "BenchOutput.h"
#include "DietLog.h"
#include "Module1.h"
#include "Recordset.h"
#include "ShowModal.h"
#include "TreeControl.h"
#include "TreeNode.h"
#include "clsFWSDataSource.h"
#include "frmFind.h"
#include "frmPurgeData.h"

#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

namespace {

using bench::msOf;
using bench::print;
using bench::summary;

constexpr int kApart = 1000;
constexpr int kPurges = 3;
constexpr int kCloses = 10;

int fail(const QString& why) {
    return bench::fail("forkwise-bench-tools", why);
}

// Marks the user's last entry and every kApart-th entry from the 500th by a word in the name.
void markEntries() {
    Database& db = gDataSource->appDB;
    db.execute(u"UPDATE DietActivity SET FoodName = 'zzzz last of all' WHERE DietId = "
               "(SELECT DietId FROM DietActivity WHERE UserName = '%1' "
               "ORDER BY DietDate DESC, FoodName DESC, DietId DESC LIMIT 1)"_s.arg(gCurrentUser));
    db.execute(u"UPDATE DietActivity SET FoodName = FoodName || ' qqmark' WHERE DietId IN "
               "(SELECT DietId FROM (SELECT DietId, row_number() OVER (ORDER BY DietDate, "
               "FoodName, DietId) AS n FROM DietActivity WHERE UserName = '%1') "
               "WHERE n % %2 = 500)"_s.arg(gCurrentUser)
                   .arg(kApart));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    bench::quietSizeHintWarnings();
    QApplication app(argc, argv);
    const bench::LogArgs args = bench::logArgs("forkwise-bench-tools", 20, 2);
    if (args.log.isEmpty())
        return 1;
    const int runs = args.runs;

    QTemporaryDir folder(QDir::tempPath() + u"/forkwise-tools-XXXXXX"_s);
    QStringList boxes;
    if (const QString why = bench::startOnCopy(args.log, folder, boxes); !why.isEmpty())
        return fail(why);
    frmMain& w = *gMainForm;
    markEntries();
    w.dietLog().ReloadDietLog();
    const long entries = gDataSource->rscmdDietData->RecordCount();
    TreeControl* diet = w.tvwDiet;

    QString text;
    setModalHandler([&text](QDialog& d) {
        auto& f = dynamic_cast<frmFind&>(d);
        f.optDiet->setChecked(true);
        f.txtFindName->setText(text);
        f.FindButton->click();
        return d.result();
    });
    QElapsedTimer timer;
    const auto timed = [&](const QString& action) {
        timer.start();
        w.action(action)->trigger();
        return msOf(timer);
    };
    const auto selectedName = [&] {
        const TreeNode* n = diet->selectedNode();
        return n ? n->Text() : QString();
    };

    // A new text each time: every name is read and matched again.
    std::vector<double> last, none, noneAgain, next;
    for (int i = 0; i < runs; ++i) {
        text = i % 2 ? u"zzzz last"_s : u"zzzz last of"_s;
        last.push_back(timed(u"mnuEditFindEntry"_s));
        if (!selectedName().startsWith(text))
            return fail(u"the last entry was not found"_s);
        const qsizetype before = boxes.size();
        text = u"no such food %1"_s.arg(i);
        none.push_back(timed(u"mnuEditFindEntry"_s));
        noneAgain.push_back(timed(u"mnuEditFindNext"_s));
        if (boxes.size() != before + 2)
            return fail(u"no match was not reported"_s);
    }
    boxes.clear();
    text = u"qqmark"_s;
    w.action(u"mnuEditFindEntry"_s)->trigger();
    for (int i = 0; i < runs; ++i) {
        next.push_back(timed(u"mnuEditFindNext"_s));
        if (!selectedName().endsWith(u"qqmark"_s))
            return fail(u"Find Next did not select the next match"_s);
    }
    if (!boxes.isEmpty())
        return fail(u"a message box appeared: "_s + boxes.join(u"; "_s));

    // Purges of the user's first years, one year each, each answered Yes.
    setMsgBoxHandler([&boxes](const QString& prompt, int, const QString&) {
        if (!prompt.startsWith(u"Are you sure"_s))
            boxes << prompt;
        return int(vbYes);
    });
    QDate from = Recordset::openSnapshot(gDataSource->appDB,
                                         u"SELECT min(DietDate) AS d FROM DietActivity"_s)
                     ->Fields(u"d"_s)
                     .toDate();
    std::vector<double> purges;
    qint64 purged = 0;
    for (int i = 0; i < kPurges && boxes.isEmpty(); ++i) {
        const QDate to = from.addDays(364);
        setModalHandler([&](QDialog& d) {
            auto& f = dynamic_cast<frmPurgeData&>(d);
            f.dtLoDate->setDate(from);
            f.dtHighDate->setDate(to);
            f.OKButton->click();
            return d.result();
        });
        const long before = gDataSource->rscmdDietData->RecordCount();
        purges.push_back(timed(u"mnuToolsPurgeDietData"_s));
        purged = before - gDataSource->rscmdDietData->RecordCount();
        if (purged < 365)
            return fail(u"the purge deleted %1 entries"_s.arg(purged));
        from = to.addDays(1);
    }
    setModalHandler({});
    if (!boxes.isEmpty())
        return fail(u"a message box appeared: "_s + boxes.join(u"; "_s));
    w.close();
    QApplication::processEvents();
    gDataSource.reset();

    // Closing after a change: the checked copy of the log is made on the way out.
    std::vector<double> closes;
    for (int i = 0; i < kCloses; ++i) {
        QTemporaryDir again(QDir::tempPath() + u"/forkwise-close-XXXXXX"_s);
        if (const QString why = bench::startOnCopy(args.log, again, boxes); !why.isEmpty())
            return fail(why);
        gDataSource->appDB.execute(u"UPDATE CONFIG SET ConfigValue = ConfigValue"_s);
        timer.start();
        gMainForm->close();
        QApplication::processEvents();
        closes.push_back(msOf(timer));
        gDataSource.reset();
        if (!boxes.isEmpty() || QDir(again.filePath(u"Data/Backups"_s)).isEmpty())
            return fail(u"closing made no checked copy: "_s + boxes.join(u"; "_s));
    }

    print(u"Find on the current user's %1 diet entries, offscreen, on a copy of %2"_s.arg(entries)
              .arg(args.log));
    print(u"  Find, a text only the last entry matches, %1 runs:"_s.arg(runs));
    print(u"    %1   (goal: under 20 ms)"_s.arg(summary(last)));
    print(u"  Find, a new text nothing matches (every name read), %1 runs:"_s.arg(runs));
    print(u"    %1   (goal: under 20 ms)"_s.arg(summary(none)));
    print(
        u"  Find Next on it, a whole turn with the wrap (the matches kept), %1 runs:"_s.arg(runs));
    print(u"    %1   (goal: under 20 ms)"_s.arg(summary(noneAgain)));
    print(u"  Find Next from one match to the next, %1 entries apart, %2 runs:"_s.arg(kApart).arg(
        runs));
    print(u"    %1   (goal: under 20 ms)"_s.arg(summary(next)));
    print(u"Tools > Purge Diet Data of one year of the user (%1 entries), with its checked copy of "
          "the log and the diet tree rebuilt, %2 runs:"_s.arg(purged)
              .arg(kPurges));
    print(u"    %1   (goal: under 1 s)"_s.arg(summary(purges)));
    print(u"Closing the window after a change, to the file closed with its checked copy made, %1 "
          "runs:"_s.arg(kCloses));
    print(u"    %1   (goal: under 1 s)"_s.arg(summary(closes)));
    return 0;
}
