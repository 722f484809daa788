// The main window's shell: caption, menus, toolbar, status bar, layout, placement and closing.
#include "MainLayout.h"
#include "MainParts.h"
#include "MainWindowFixture.h"
#include "Module1.h"
#include "ShowModal.h"
#include "SqlProbe.h"
#include "WindowPlacement.h"
#include "clsFWSDataSource.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSettings>
#include <QToolBar>

TEST_F(MainWindowTest, ItsToolbarAndPanelsAreNamedForScreenReadersAndHelpOpensItsWindows) {
    start();
    // Every button is named for a screen reader by its tip, and is a plain button.
    for (QAction* a : w().tbToolBar->actions()) {
        if (a->isSeparator())
            continue;
        QAccessibleInterface* button =
            QAccessible::queryAccessibleInterface(w().tbToolBar->widgetForAction(a));
        ASSERT_TRUE(button);
        EXPECT_EQ(button->text(QAccessible::Name), a->toolTip());
        EXPECT_EQ(button->role(), QAccessible::Button) << a->objectName().toStdString();
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(w().sbPanel2)->text(QAccessible::Name),
              QStringLiteral("User:  User 1"));
    for (QWidget* named : {static_cast<QWidget*>(w().tvwFood), static_cast<QWidget*>(w().tvwDiet)})
        EXPECT_FALSE(
            QAccessible::queryAccessibleInterface(named)->text(QAccessible::Name).isEmpty());
    // The status bar's panels share a narrow window: the serving size keeps the most room.
    EXPECT_GE(w().minimumWidth(), 300);
    EXPECT_GT(w().sbPanel1->width(), w().width() / 2);

    // Paste and Delete wait for a selection that allows them: their keys do nothing yet.
    for (const char* name :
         {"mnuEditPaste", "mnuEditDelete", "mnuPop_RTB_Paste", "mnuPop_RTB_Delete", "Paste"})
        EXPECT_FALSE(enabled(name)) << name;

    QString shown;
    setModalHandler([&](QDialog& d) {
        shown = d.windowTitle();
        return 0;
    });
    choose("mnuHelpAbout");
    EXPECT_EQ(shown, QStringLiteral("About Forkwise"));
    choose("Help"); // the toolbar button opens the contents
    QWidget* help = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->objectName() == u"frmHelp")
            help = top;
    EXPECT_TRUE(help);
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(MainWindowTest, FirstRunOpensAtTheDefaultPlaceAndClosingRemembersTheNewOne) {
    const QByteArray before = fileBytes(db.path());
    start();
    EXPECT_EQ(w().geometry().topLeft(),
              QPoint(Twips::toPixels(1000, &w()), Twips::toPixels(1000, &w())));

    // The trees follow the window's size.
    w().resize(Twips::toPixels(9900, &w()), Twips::toPixels(7000, &w()));
    QApplication::processEvents();
    EXPECT_NEAR(w().tvwDiet->height(), w().frameFood->height(), 1);
    EXPECT_EQ(w().tvwDiet->x(), Twips::toPixels(360, &w()));

    w().setGeometry(QRect(QPoint(40, 50), QSize(500, 420)));
    QApplication::processEvents();
    const QRect placed = w().geometry();
    closeWindow();

    // The database is closed, unchanged by a run that changed nothing.
    EXPECT_EQ(fileBytes(db.path()), before);
    QSettings s(QStringLiteral("Forkwise"), QStringLiteral("Forkwise"));
    EXPECT_NEAR(s.value(QStringLiteral("Settings/MainLeft")).toString().toDouble(),
                Twips::fromPixels(40, nullptr), 1);

    start();
    EXPECT_EQ(w().geometry(), placed);

    // A placement off every screen comes back onto the primary screen.
    closeWindow();
    writePlacement({-90000, 250000, 6500, 6500});
    start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(w().geometry()));
    EXPECT_TRUE(screen.contains(w().geometry().topLeft()));
}

TEST_F(MainWindowTest, AFailedLoadShowsItsMessageAndEndsWithoutAWindow) {
    // A group table the program cannot position rows in: the load fails at its first command,
    // and the user is told once.
    prepare({QStringLiteral("DROP TABLE FoodGroup"),
             QStringLiteral("CREATE TABLE FoodGroup (GroupId INTEGER PRIMARY KEY, GroupName TEXT, "
                            "ParentGroup INTEGER, GroupTag TEXT) WITHOUT ROWID")});
    EXPECT_FALSE(startProgram(db.programDir()));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes().back().prompt,
              QStringLiteral("Unable to retrieve Food Data.  ") + gSupportMsg);
    QApplication::processEvents();
    EXPECT_FALSE(gMainForm && gMainForm->isVisible());
}
