// The main window on an X display, driven through the X server as a person drives it: drags made
// of XTest pointer events, so that Qt's own drag loop runs, and the delivered program closed
// through the window system.
#include "Module1.h"
#include "Module1App.h"
#include "MsgBoxRecorder.h"
#include "ShowModal.h"
#include "SqlProbe.h"
#include "TestDatabase.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "dlgServings.h"
#include "frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

using namespace Qt::StringLiterals;

namespace {

// Where a node of a tree is on the screen, scrolled into view, in the X server's pixels.
QPoint onScreen(TreeControl* tree, const QString& key) {
    TreeNode* node = tree->Item(key);
    EXPECT_TRUE(node) << key.toStdString();
    tree->EnsureVisible(node);
    const QPoint p = tree->viewport()->mapToGlobal(tree->visualItemRect(node).center());
    return (QPointF(p) * tree->devicePixelRatio()).toPoint();
}

// Drags a node onto another as a person's hand does: presses, pulls, moves in steps and lets go
// once the target shows as the drop target (or after about 10 s). From the pull on Qt's drag
// loop runs inside the wait, so a timer moves the hand.
bool dragOnX(TreeControl* from, const QString& fromKey, TreeControl* to, const QString& toKey,
             Qt::MouseButton button) {
    const QPoint start = onScreen(from, fromKey), end = onScreen(to, toKey);
    const auto arrived = [=] { return to->dropHighlight() == to->Item(toKey); };
    Display* x = XOpenDisplay(nullptr);
    const auto hand = [x, b = button == Qt::LeftButton ? 1u : 3u](QPoint p, int press = -1) {
        XTestFakeMotionEvent(x, -1, p.x(), p.y(), CurrentTime);
        if (press >= 0)
            XTestFakeButtonEvent(x, b, press, CurrentTime);
        XSync(x, False);
    };
    hand(start, True);
    bool reached = QTest::qWaitFor([=] { return QGuiApplication::mouseButtons() == button; });
    const QPoint pull = start + QPoint(QApplication::startDragDistance() + 8, 0);
    int step = 0;
    QTimer timer;
    timer.callOnTimeout([&] {
        if (step <= 4)
            return hand(pull + (end - pull) * step++ / 4);
        if (!arrived() && ++step < 500)
            return;
        reached = reached && arrived();
        hand(end, False);
        timer.stop();
    });
    timer.start(20);
    reached = QTest::qWaitFor([&] { return !timer.isActive(); }, 30000) && reached;
    XCloseDisplay(x);
    return reached;
}

// Asks the shown top-level window with that title to close, as a window manager does when the
// user closes it; without a window manager the top-level windows are children of the root.
bool closeShownWindow(Display* x, const char* title) {
    Window root, parent, *children = nullptr, found = 0;
    unsigned int count = 0;
    XQueryTree(x, DefaultRootWindow(x), &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count; ++i) {
        char* name = nullptr;
        XWindowAttributes window;
        if (XFetchName(x, children[i], &name) && qstrcmp(name, title) == 0 &&
            XGetWindowAttributes(x, children[i], &window) && window.map_state == IsViewable)
            found = children[i];
        XFree(name);
    }
    XFree(children);
    XEvent close{};
    close.xclient = {
        ClientMessage, 0, True, x, found, XInternAtom(x, "WM_PROTOCOLS", False), 32, {}};
    close.xclient.data.l[0] = long(XInternAtom(x, "WM_DELETE_WINDOW", False));
    if (found)
        XSendEvent(x, found, False, NoEventMask, &close);
    XFlush(x);
    return found;
}

} // namespace

TEST(MainWindowOnX11, FoodsAndEntriesAreDraggedOntoDaysWithEitherButton) {
    ASSERT_EQ(QGuiApplication::platformName(), u"xcb"_s) << "these drags need an X display";
    TestDatabase db;
    queryValue(db.path(), u"INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, "
                          "NumServings) VALUES (900, 'USER1', '2026-12-01', 'Toast', 1), "
                          "(901, 'USER1', '2026-12-03', 'Tea', 1)"_s);
    matchDietDays(db.path());
    const QString food = u'F' + queryValue(db.path(), u"SELECT FoodId FROM FoodItem WHERE "
                                                      "GroupId = 2 AND USDA_NDB_NO = 9003"_s)
                                    .toString();
    MsgBoxRecorder boxes;
    int popups = 0;
    setPopupHandler([&](QMenu&, const QPoint&) { ++popups; });
    QString shown;
    setModalHandler([&](QDialog& dialog) {
        auto& dlg = dynamic_cast<dlgServings&>(dialog);
        shown = dlg.windowTitle() + u' ' + dlg.DTDate->date().toString(Qt::ISODate);
        dlg.cmbServings->setEditText(u"2"_s);
        dlg.OKButton->click();
        return dlg.result();
    });
    ASSERT_TRUE(startProgram(db.programDir()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(gMainForm));
    TreeControl* diet = gMainForm->tvwDiet;
    ASSERT_TRUE(diet->Item(u"DT20261201"_s) && diet->Item(u"DT20261201"_s)->Children() == 0)
        << "the day was never opened";

    // With the right button the food asks for its servings, dated for the day it was dropped on.
    EXPECT_TRUE(dragOnX(gMainForm->tvwFood, food, diet, u"DT20261201"_s, Qt::RightButton));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 10000));
    EXPECT_EQ(shown, u"Diet Information 2026-12-01"_s);

    // With the left button an entry moves to another day.
    EXPECT_TRUE(dragOnX(diet, u"D900"_s, diet, u"DT20261203"_s, Qt::LeftButton));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return diet->Item(u"D900"_s) &&
               diet->Item(u"D900"_s)->Parent() == diet->Item(u"DT20261203"_s);
    }));
    EXPECT_EQ(popups, 0);
    EXPECT_TRUE(boxes.boxes().empty());

    gMainForm->close();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    gDataSource.reset();
    setModalHandler({});
    setPopupHandler({});
    // The food on the first day, Toast (no catalogue number) moved to the third.
    EXPECT_EQ(queryValue(db.path(), u"SELECT group_concat(DietDate || ' ' || NumServings || ' ' || "
                                    "USDA_NDB_NO) FROM (SELECT * FROM DietActivity WHERE DietId "
                                    "<> 901 ORDER BY DietDate)"_s),
              u"2026-12-01 2.0 9003,2026-12-03 1.0 0"_s);
}

// The delivered program, run as a user runs it from a folder of its own with the full database:
// its own main(), and the end of the process when the window system closes its window.
TEST(ProgramOnX11, ClosedThroughTheWindowSystemItEndsLeavingTheDatabaseAsItWas) {
    QTemporaryDir dir;
    const QString program = dir.filePath(u"forkwise"_s),
                  data = dir.filePath(u"Data/ForkData.mdb"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(FORKWISE_PROGRAM), program));
    ASSERT_EQ(QProcess::execute(QStringLiteral(FORKWISE_MKDB), {data}), 0);
    const QByteArray before = fileBytes(data);

    QProcess run;
    run.start(program);
    Display* x = XOpenDisplay(nullptr);
    EXPECT_TRUE(QTest::qWaitFor([x] { return closeShownWindow(x, "Forkwise 1.0"); }, 30000))
        << "no main window appeared";
    XCloseDisplay(x);
    EXPECT_TRUE(run.waitForFinished(30000) && run.exitCode() == 0)
        << "the program did not end well after its window closed";
    EXPECT_TRUE(fileBytes(data) == before) << "the database changed";
    EXPECT_EQ(QDir(dir.filePath(u"Data"_s)).entryList(QDir::Files), QStringList{u"ForkData.mdb"_s})
        << "a journal was left behind";
}
