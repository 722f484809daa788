// The main window's menu bar, popup menu and toolbar, and the commands they run.
#include "CommandBoundary.h"
#include "FoodCatalog.h"
#include "Icons.h"
#include "MainLayout.h"
#include "Module1.h"
#include "clsFWSDataSource.h"
#include "frmMain.h"
#include "frmRestore.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {
// One item of a menu: its command, system name, caption, shortcut and handler; a caption "-" is
// a separator, which has no command.
struct Item {
    Command command;
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    void (frmMain::*handler)();
};
constexpr Command kNone = Command::Count_;
} // namespace

QAction* frmMain::action(const QString& name) const {
    return findChild<QAction*>(name);
}

void frmMain::buildMenus() {
    const auto fill = [this](QMenu* menu, std::initializer_list<Item> items) {
        for (const Item& item : items) {
            QAction* a = QString::fromLatin1(item.caption) == u"-"
                             ? menu->addSeparator()
                             : menu->addAction(QString::fromLatin1(item.caption));
            a->setObjectName(QString::fromLatin1(item.name));
            if (!item.shortcut.isEmpty())
                a->setShortcut(item.shortcut);
            if (item.command == kNone)
                continue;
            parts.commands.add(item.command, a);
            handlers[std::size_t(item.command)] = item.handler;
            connect(a, &QAction::triggered, this,
                    [this, handler = item.handler] { guarded([&] { (this->*handler)(); }); });
        }
    };
    const auto submenu = [this](QMenu* parent, const char* name, const char* caption) {
        QMenu* m = parent->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        parts.commands.add(Command::EditNew, m->menuAction());
        return m;
    };
    const auto top = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    using C = Command;

    menuBar()->setObjectName(QStringLiteral("mnuMain"));
    fill(top("mnuFile", "&File"),
         {{C::FileRestore,
           "mnuFileRestore",
           "&Restore Backup...",
           {},
           &frmMain::mnuFileRestore_Click},
          {kNone, "mnuFileBar0", "-", {}, nullptr},
          {C::FileExit, "mnuFileExit", "E&xit", {}, &frmMain::mnuFileExit_Click}});

    QMenu* edit = top("mnuEdit", "&Edit");
    fill(submenu(edit, "mnuEditNew", "New"), {{C::NewFoodGroup,
                                               "mnuEditNewFoodGroup",
                                               "Food &Group",
                                               {},
                                               &frmMain::mnuEditNewFoodGroup_Click},
                                              {C::NewFoodItem,
                                               "mnuEditNewFoodItem",
                                               "Food &Item",
                                               {},
                                               &frmMain::mnuEditNewFoodItem_Click}});
    fill(edit,
         {{kNone, "mnueditsep2", "-", {}, nullptr},
          {C::DietDetails, "mnuEditDietDetails", "View Diet Totals", Qt::Key_F7,
           &frmMain::mnuEditDietDetails_Click},
          {C::DietEntry, "mnuEditDietEntry", "Diet Entry Details", Qt::Key_F8,
           &frmMain::mnuEditDietEntry_Click},
          {kNone, "menueditsep4", "-", {}, nullptr},
          {C::FoodDetails, "mnuEditFoodDetails", "Food Item Details", Qt::Key_F9,
           &frmMain::mnuEditFoodDetails_Click},
          {C::FoodFav, "mnuEditFoodFav", "Copy Food To Favorites",
           QKeySequence(Qt::CTRL | Qt::Key_Insert), &frmMain::mnuEditFoodFav_Click},
          {C::AddToDiet, "mnuEditAddToDiet", "&Add to Diet Log", Qt::Key_Insert,
           &frmMain::mnuEditAddToDiet_Click},
          {kNone, "mnuViewBar0", "-", {}, nullptr},
          {C::Cut, "mnuEditCut", "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X),
           &frmMain::mnuEditCut_Click},
          {C::Copy, "mnuEditCopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C),
           &frmMain::mnuEditCopy_Click},
          {C::Paste, "mnuEditPaste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V),
           &frmMain::mnuEditPaste_Click},
          {C::Delete, "mnuEditDelete", "&Delete", Qt::Key_Delete, &frmMain::mnuEditDelete_Click},
          {kNone, "mnuEditSep0", "-", {}, nullptr},
          {C::FindEntry, "mnuEditFindEntry", "&Find", QKeySequence(Qt::CTRL | Qt::Key_F),
           &frmMain::mnuEditFindEntry_Click},
          {C::FindNext, "mnuEditFindNext", "Find &Next", Qt::Key_F3,
           &frmMain::mnuEditFindNext_Click},
          {C::Rename, "mnuEditRename", "Rename", Qt::Key_F2, &frmMain::mnuEditRename_Click}});

    fill(top("mnuTools", "&Tools"), {{C::ToolsOptions,
                                      "mnuToolsOptions",
                                      "&Configuration Options",
                                      {},
                                      &frmMain::mnuToolsOptions_Click},
                                     {C::ToolsTargets,
                                      "mnuToolsTargets",
                                      "Daily &Targets...",
                                      {},
                                      &frmMain::mnuToolsTargets_Click},
                                     {C::ToolsDietReport,
                                      "mnuToolsDietReport",
                                      "&Produce Diet Report",
                                      {},
                                      &frmMain::mnuToolsDietReport_Click},
                                     {C::ToolsPurgeDietData,
                                      "mnuToolsPurgeDietData",
                                      "P&urge Diet Data",
                                      {},
                                      &frmMain::mnuToolsPurgeDietData_Click}});

    fill(top("mnuHelp", "&Help"),
         {{C::HelpContents, "mnuHelpContents", "&Contents", {}, &frmMain::mnuHelpContents_Click},
          {C::HelpSearch,
           "mnuHelpSearchForHelpOn",
           "&Search For Help On...",
           {},
           &frmMain::mnuHelpSearchForHelpOn_Click},
          {kNone, "mnuHelpBar0", "-", {}, nullptr},
          {C::HelpAbout, "mnuHelpAbout", "&About ", {}, &frmMain::mnuHelpAbout_Click}});

    // The popup shown on a right click in either tree; never part of the menu bar.
    mnuPop_RTB = new QMenu(QStringLiteral("PopUPFoods"), this);
    mnuPop_RTB->setObjectName(QStringLiteral("mnuPop_RTB"));
    fill(submenu(mnuPop_RTB, "mnuPop_RTB_New", "New"), {{C::NewFoodGroup,
                                                         "mnuPop_RTB_NewFoodGroup",
                                                         "Food Group",
                                                         {},
                                                         &frmMain::mnuEditNewFoodGroup_Click},
                                                        {C::NewFoodItem,
                                                         "mnuPop_RTB_NewFoodItem",
                                                         "Food Item",
                                                         {},
                                                         &frmMain::mnuEditNewFoodItem_Click}});
    fill(mnuPop_RTB,
         {{kNone, "mnuPop_RTBBar3", "-", {}, nullptr},
          {C::DietDetails,
           "mnuPop_RTB_DietDetails",
           "View Diet Totals",
           {},
           &frmMain::mnuEditDietDetails_Click},
          {C::DietEntry,
           "mnuPop_RTB_DietEntry",
           "Edit Diet Entry Details",
           {},
           &frmMain::mnuEditDietEntry_Click},
          {kNone, "mnuPop_RTBBar32", "-", {}, nullptr},
          {C::FoodDetails,
           "mnuPop_RTB_FoodDetails",
           "Edit Food Item Details",
           {},
           &frmMain::mnuEditFoodDetails_Click},
          {C::FoodFav,
           "mnuPop_RTB_FoodFav",
           "Copy Food To Favorites",
           {},
           &frmMain::mnuEditFoodFav_Click},
          {C::AddToDiet,
           "mnuPop_RTB_AddToDiet",
           "&Add to Diet Log",
           {},
           &frmMain::mnuEditAddToDiet_Click},
          {kNone, "mnuPop_RTBBar0", "-", {}, nullptr},
          {C::Cut, "mnuPop_RTB_Cut", "Cu&t", {}, &frmMain::mnuEditCut_Click},
          {C::Copy, "mnuPop_RTB_Copy", "&Copy", {}, &frmMain::mnuEditCopy_Click},
          {C::Paste, "mnuPop_RTB_Paste", "&Paste", {}, &frmMain::mnuEditPaste_Click},
          {C::Delete, "mnuPop_RTB_Delete", "&Delete", {}, &frmMain::mnuEditDelete_Click},
          {kNone, "mnuPop_RTB_Bar1", "-", {}, nullptr},
          {C::Rename, "mnuPop_RTB_Rename", "Rename", {}, &frmMain::mnuEditRename_Click}});
}

void frmMain::buildToolbar() {
    tbToolBar = addToolBar(QStringLiteral("Toolbar"));
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setFloatable(false);
    tbToolBar->setIconSize(QSize(16, 16));
    tbToolBar->setFixedHeight(Twips::toPixels(420, this)); // the window was laid out around it
    tbToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    struct Button {
        Command command;
        const char* key;
        const char* tip;
        const char* image;
    };
    const Button buttons[] = {{Command::ToolsOptions, "SelectUser", "Select User", "Person"},
                              {Command::ToolsDietReport, "Report", "Produce Diet Report", "Report"},
                              {kNone, nullptr, nullptr, nullptr},
                              {Command::NewFoodGroup, "NewGroup", "New Food Group", "FoodGroup"},
                              {Command::NewFoodItem, "NewFood", "New Food Item", "FoodItem"},
                              {Command::Cut, "Cut", "Cut the Selected Item", "Cut"},
                              {Command::Copy, "Copy", "Copy the Selected Item", "Copy"},
                              {Command::Paste, "Paste", "Paste", "Paste"},
                              {Command::Delete, "Delete", "Delete Selected Item", "Delete"},
                              {Command::FindEntry, "Find", "Find", "Find"},
                              {Command::HelpContents, "Help", "Help", "Help"}};
    for (const Button& b : buttons) {
        if (b.command == kNone) {
            tbToolBar->addSeparator();
            continue;
        }
        // The tip is the button's text too: a screen reader names the button by it.
        QAction* a = tbToolBar->addAction(toolbarIcon(QString::fromLatin1(b.image)),
                                          QString::fromLatin1(b.tip));
        a->setObjectName(QString::fromLatin1(b.key));
        a->setToolTip(QString::fromLatin1(b.tip));
        parts.commands.add(b.command, a);
        connect(a, &QAction::triggered, this,
                [this, c = b.command] { guarded([&] { tbToolBar_ButtonClick(c); }); });
    }
    // The toolbar's own button for buttons that do not fit (shown only in a narrow window).
    if (auto* more = tbToolBar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More Buttons"));
}

void frmMain::tbToolBar_ButtonClick(Command command) {
    (this->*handlers[std::size_t(command)])();
}

void frmMain::mnuFileRestore_Click() {
    // An edit in progress belongs to the state that is kept as a copy before the restore.
    food->SavePendingFood();
    if (RestoreBackup(this))
        reloadAfterRestore();
}

void frmMain::mnuFileExit_Click() {
    close();
}
