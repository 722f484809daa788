// Drags through the real main window on an X display, made of pointer events that the X server
// delivers (XTest): Qt's own drag loop runs as it does under a person's mouse.
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
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

using namespace Qt::StringLiterals;

namespace {

// Where a node of a tree is on the screen, scrolled into view.
QPoint onScreen(TreeControl* tree, const QString& key) {
    TreeNode* node = tree->Item(key);
    EXPECT_TRUE(node) << key.toStdString();
    tree->EnsureVisible(node);
    return tree->viewport()->mapToGlobal(tree->visualItemRect(node).center());
}

// Drags a node onto another as a person's hand does, with pointer events the X server makes:
// presses, pulls, moves in steps and lets go once the target shows as the drop target (or after
// 10 s). From the pull on Qt's drag loop runs inside the wait, so a timer moves the hand.
bool dragOnX(TreeControl* from, const QString& fromKey, TreeControl* to, const QString& toKey,
             Qt::MouseButton button) {
    const QPoint start = onScreen(from, fromKey), end = onScreen(to, toKey);
    const auto arrived = [=] {
        return to->dropHighlight() && to->dropHighlight() == to->Item(toKey);
    };
    Display* x = XOpenDisplay(nullptr);
    const unsigned b = button == Qt::LeftButton ? 1 : 3;
    const auto move = [x](QPoint p) {
        p = (QPointF(p) * gMainForm->devicePixelRatio()).toPoint();
        XTestFakeMotionEvent(x, -1, p.x(), p.y(), CurrentTime);
        XSync(x, False);
    };
    move(start);
    XTestFakeButtonEvent(x, b, True, CurrentTime);
    XSync(x, False);
    bool reached = QTest::qWaitFor([=] { return QGuiApplication::mouseButtons() == button; });
    const QPoint pull = start + QPoint(QApplication::startDragDistance() + 8, 0);
    int step = 0;
    QElapsedTimer waited;
    waited.start();
    QTimer hand;
    hand.callOnTimeout([&] {
        if (step <= 4)
            return move(pull + (end - pull) * step++ / 4);
        if (!arrived() && waited.elapsed() < 10000)
            return;
        reached = reached && arrived();
        XTestFakeButtonEvent(x, b, False, CurrentTime);
        XSync(x, False);
        hand.stop();
    });
    hand.start(20);
    reached = QTest::qWaitFor([&] { return !hand.isActive(); }, 30000) && reached;
    XCloseDisplay(x);
    return reached;
}

} // namespace

TEST(MainWindowOnX11, FoodsAndEntriesAreDraggedOntoDaysWithEitherButton) {
    ASSERT_EQ(QGuiApplication::platformName(), u"xcb"_s) << "these drags need an X display";
    QTemporaryDir settings; // the window's placement stays out of the user's own
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    TestDatabase db;
    queryValue(db.path(), u"INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, "
                          "NumServings) VALUES (900, 'USER1', '2026-12-01', 'Toast', 1), "
                          "(901, 'USER1', '2026-12-03', 'Tea', 1)"_s);
    const QString food =
        u'F' + queryValue(db.path(), u"SELECT FoodId FROM FoodItem WHERE GroupId = 2 AND "
                                     "USDA_NDB_NO = 9003"_s)
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
    ASSERT_TRUE(StartProgram(db.programDir()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(gMainForm));
    TreeControl* diet = gMainForm->tvwDiet;
    ASSERT_TRUE(diet->Item(u"DT20261201"_s) && diet->Item(u"DT20261201"_s)->Children() == 0)
        << "the day was never opened";

    // With the right button the food asks for its servings, dated for the day it was dropped on.
    EXPECT_TRUE(dragOnX(gMainForm->tvwFood, food, diet, u"DT20261201"_s, Qt::RightButton));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 10000));
    EXPECT_EQ(shown, u"Diet Information 2026-12-01"_s);

    // With the left button an entry moves to another day.
    ASSERT_TRUE(diet->Item(u"D900"_s)) << "the day opened to take the food";
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
    EXPECT_EQ(queryValue(db.path(), u"SELECT DietDate FROM DietActivity WHERE DietId = 900"_s),
              u"2026-12-03"_s);
    EXPECT_EQ(queryValue(db.path(),
                         u"SELECT group_concat(DietDate || ' ' || NumServings || ' ' || "
                         "USDA_NDB_NO) FROM DietActivity WHERE DietId NOT IN (900, 901)"_s),
              u"2026-12-01 2.0 9003"_s);
}
