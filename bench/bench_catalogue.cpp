// forkwise-bench-catalogue: how long editing the catalogue takes on a large household log,
// through the main window's own handlers, offscreen, 50 runs of each (--runs N):
//
//   paste: a copied food is pasted into "Vegetables and Vegetable Products" (group 13, about 800
//     foods) while that group has never been opened, so its foods load first; timed from the
//     Paste command until the new food is selected in the group.
//   details: "Food Item Details" on a food with 10 household measures; timed from the command
//     until the dialog is ready to show (lists filled, the food's measure chosen).
//   drag: a food of "Beef Products" is dropped on the never-opened vegetables group; timed from
//     the drop until the food is selected there.
//
// After each paste and drop the vegetables group is emptied in the tree again, so every run
// meets a group never opened.

#include "BenchOutput.h"
#include "FoodNodes.h"
#include "Module1.h"
#include "Module1App.h"
#include "Seams.h"
#include "ShowModal.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QSettings>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

using bench::msOf;
using bench::print;

const QString kVegetables = u"G13"_s;
const QString kBeef = u"G15"_s;
const QString kTenMeasures = u"F11124"_s;

int fail(const QString& why) {
    return bench::fail("forkwise-bench-catalogue", why);
}

QString summary(const std::vector<double>& v) {
    return bench::summary(v) + u"   (goal: under 20 ms)"_s;
}

// The press of a node, as the tree reports it: selected, then NodeClick.
void click(TreeControl* tree, TreeNode* node) {
    tree->selectNode(node);
    Q_EMIT tree->NodeClick(node);
}

// Takes a group's foods out of the tree again, so that it counts as never opened.
void forget(TreeControl* tree, TreeNode* group) {
    while (group->Children() > 0)
        tree->Remove(group->Child(0));
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    bench::quietSizeHintWarnings();
    QApplication app(argc, argv);
    const bench::LogArgs args = bench::logArgs("forkwise-bench-catalogue", 50, 2);
    if (args.log.isEmpty())
        return 1;
    const int runs = args.runs;

    QTemporaryDir folder(QDir::tempPath() + u"/forkwise-catalogue-XXXXXX"_s);
    QStringList boxes;
    if (const QString why = bench::startOnCopy(args.log, folder, boxes); !why.isEmpty())
        return fail(why);
    frmMain& w = *gMainForm;
    TreeControl* t = w.tvwFood;
    TreeNode* vegetables = t->Item(kVegetables);
    TreeNode* beef = t->Item(kBeef);
    if (!vegetables || !beef)
        return fail(u"the log has no vegetables or beef group"_s);
    Q_EMIT t->GotFocus(); // the Edit commands act on the food tree
    click(t, beef);
    Q_EMIT t->DblClick(); // opens the beef group
    if (beef->Children() < runs)
        return fail(u"too few beef foods"_s);
    std::vector<TreeNode*> meats;
    for (int i = 0; i < runs; ++i)
        meats.push_back(beef->Child(i));

    // Paste.
    click(t, meats.front());
    w.action(u"mnuEditCopy"_s)->trigger();
    std::vector<double> pastes;
    int groupFoods = 0;
    for (int i = 0; i < runs && boxes.isEmpty(); ++i) {
        forget(t, vegetables);
        click(t, vegetables);
        QElapsedTimer timer;
        timer.start();
        w.action(u"mnuEditPaste"_s)->trigger();
        const TreeNode* added = t->selectedNode();
        if (!added || added->Parent() != vegetables || vegetables->Children() < 800)
            return fail(u"paste %1: the new food is not selected among the vegetables"_s.arg(i));
        QApplication::processEvents();
        pastes.push_back(msOf(timer));
        if (i == 0)
            groupFoods = vegetables->Children() - 1;
    }

    // Details.
    std::vector<double> details;
    double shownAt = 0;
    QElapsedTimer timer;
    setModalHandler([&](QDialog&) {
        shownAt = msOf(timer);
        return int(QDialog::Rejected);
    });
    click(t, t->Item(kTenMeasures));
    for (int i = 0; i < runs && boxes.isEmpty(); ++i) {
        timer.start();
        w.action(u"mnuEditFoodDetails"_s)->trigger();
        details.push_back(shownAt);
    }
    setModalHandler({});

    // Drag.
    std::vector<double> drags;
    for (int i = 0; i < runs && boxes.isEmpty(); ++i) {
        forget(t, vegetables);
        TreeNode* meat = meats[size_t(i)];
        t->EnsureVisible(meat);
        click(t, meat);
        QMimeData data;
        Qt::DropActions effects = Qt::MoveAction | Qt::CopyAction;
        Q_EMIT t->OLEStartDrag(&data, effects);
        t->EnsureVisible(vegetables);
        QApplication::processEvents();
        const QPoint at = t->visualItemRect(vegetables).center();
        if (t->hitTest(at) != vegetables)
            return fail(u"drag %1: the vegetables group is not under the pointer"_s.arg(i));
        timer.start();
        Qt::DropAction effect = Qt::MoveAction;
        Q_EMIT t->OLEDragDrop(&data, effect, TreeButton::Left, 0, at.x(), at.y());
        Q_EMIT t->OLECompleteDrag(effect);
        const TreeNode* moved = t->selectedNode();
        if (!moved || moved->Parent() != vegetables)
            return fail(u"drag %1: the food is not selected among the vegetables"_s.arg(i));
        QApplication::processEvents();
        drags.push_back(msOf(timer));
    }
    if (!boxes.isEmpty())
        return fail(u"a message box appeared: "_s + boxes.join(u"; "_s));
    w.close();
    QApplication::processEvents();
    gDataSource.reset();

    print(
        u"The food catalogue through the main window's handlers, offscreen, on a copy of %1"_s.arg(
            args.log));
    print(u"  paste into the never-opened vegetables group (%1 foods), to the new food selected, "
          "%2 runs:"_s.arg(groupFoods)
              .arg(runs));
    print(u"    "_s + summary(pastes));
    print(u"  Food Item Details on a food with 10 measures, to the dialog ready, %1 runs:"_s.arg(
        runs));
    print(u"    "_s + summary(details));
    print(u"  drag a food onto the never-opened vegetables group, to the food selected there, %1 "
          "runs:"_s.arg(runs));
    print(u"    "_s + summary(drags));
    return 0;
}
