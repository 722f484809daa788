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
#include <deque>
#include <functional>
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

using namespace Qt::StringLiterals;

namespace {

// A hand on the X server's pointer. Each step waits until the program shows that it has seen
// the step before, as a person watches the screen, for 10 s at most; a hand taken away lets go.
class Hand {
public:
    Hand() {
        timer.callOnTimeout([this] { next(); });
    }
    ~Hand() {
        if (held)
            XTestFakeButtonEvent(x, held, False, CurrentTime);
        XCloseDisplay(x);
    }
    bool idle() const { return steps.empty(); }

    // Presses `button` at `from`, pulls the node away and drops it at `to` once `over` holds.
    void drag(QPoint from, QPoint to, Qt::MouseButton button, std::function<bool()> over) {
        const unsigned b = button == Qt::LeftButton ? 1 : 3;
        const QPoint pull = from + QPoint(QApplication::startDragDistance() + 8, 0);
        then({}, [=, this] { moveTo(from); });
        then({}, [=, this] { press(b, true); });
        then([=] { return QGuiApplication::mouseButtons() == button; },
             [=, this] { moveTo(pull); });
        for (int i = 1; i <= 5; ++i)
            then({}, [=, this] { moveTo(pull + (to - pull) * i / 5); });
        then(over, [=, this] { press(b, false); });
        timer.start(20);
    }

private:
    struct Step {
        std::function<bool()> ready;
        std::function<void()> act;
    };
    void then(std::function<bool()> ready, std::function<void()> act) {
        steps.push_back({std::move(ready), std::move(act)});
    }
    void next() {
        if (steps.empty())
            return timer.stop();
        Step& step = steps.front();
        if (step.ready && !step.ready() && waited.elapsed() < 10000)
            return;
        if (step.ready && !step.ready())
            ADD_FAILURE() << "the program did not follow the pointer; step " << steps.size();
        const auto act = std::move(step.act);
        steps.pop_front();
        waited.start();
        act();
    }
    void moveTo(QPoint global) {
        const QPoint p = (QPointF(global) * gMainForm->devicePixelRatioF()).toPoint();
        XTestFakeMotionEvent(x, -1, p.x(), p.y(), CurrentTime);
        XSync(x, False);
    }
    void press(unsigned button, bool down) {
        held = down ? button : 0;
        XTestFakeButtonEvent(x, button, down, CurrentTime);
        XSync(x, False);
    }

    Display* x = XOpenDisplay(nullptr);
    unsigned held = 0;
    std::deque<Step> steps;
    QTimer timer;
    QElapsedTimer waited;
};

// Where a node of a tree is on the screen, scrolled into view.
QPoint onScreen(TreeControl* tree, const QString& key) {
    TreeNode* node = tree->Item(key);
    EXPECT_TRUE(node) << key.toStdString();
    if (!node)
        return {};
    tree->EnsureVisible(node);
    return tree->viewport()->mapToGlobal(tree->visualItemRect(node).center());
}

} // namespace

TEST(MainWindowOnX11, FoodsAndEntriesAreDraggedOntoDaysWithEitherButton) {
    ASSERT_EQ(QGuiApplication::platformName(), u"xcb"_s) << "these drags need an X display";
    QTemporaryDir settings;
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
    const auto highlighted = [diet](const QString& key) {
        return [=] { return diet->dropHighlight() && diet->dropHighlight()->Key() == key; };
    };
    ASSERT_TRUE(diet->Item(u"DT20261201"_s) && diet->Item(u"DT20261201"_s)->Children() == 0)
        << "the day was never opened";

    // With the right button the food asks for its servings, dated for the day it was dropped on.
    Hand hand;
    hand.drag(onScreen(gMainForm->tvwFood, food), onScreen(diet, u"DT20261201"_s), Qt::RightButton,
              highlighted(u"DT20261201"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return hand.idle() && !shown.isEmpty(); }, 30000));
    EXPECT_EQ(shown, u"Diet Information 2026-12-01"_s);

    // With the left button an entry moves to another day.
    ASSERT_TRUE(diet->Item(u"D900"_s)) << "the day opened to take the food";
    hand.drag(onScreen(diet, u"D900"_s), onScreen(diet, u"DT20261203"_s), Qt::LeftButton,
              highlighted(u"DT20261203"_s));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return hand.idle() && diet->Item(u"D900"_s) &&
                   diet->Item(u"D900"_s)->Parent() == diet->Item(u"DT20261203"_s);
        },
        30000));
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
    EXPECT_EQ(queryRows(db.path(), u"SELECT DietDate, NumServings, USDA_NDB_NO FROM DietActivity "
                                   "WHERE DietId NOT IN (900, 901)"_s),
              (QList<QVariantList>{{u"2026-12-01"_s, 2.0, 9003}}));
}
