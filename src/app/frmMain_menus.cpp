// The main window's menu bar, popup menu and toolbar, and the commands they run.
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
// One item of a menu: system name, caption, shortcut, handler; a caption "-" is a separator.
struct Item {
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    void (frmMain::*handler)();
};
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
            if (item.handler)
                connect(a, &QAction::triggered, this, item.handler);
        }
    };
    const auto submenu = [this](QMenu* parent, const char* name, const char* caption) {
        QMenu* m = parent->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };
    const auto top = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };

    menuBar()->setObjectName(QStringLiteral("mnuMain"));
    fill(top("mnuFile", "&File"),
         {{"mnuFileRestore", "&Restore Backup...", {}, &frmMain::mnuFileRestore_Click},
          {"mnuFileBar0", "-", {}, nullptr},
          {"mnuFileExit", "E&xit", {}, &frmMain::mnuFileExit_Click}});

    QMenu* edit = top("mnuEdit", "&Edit");
    fill(submenu(edit, "mnuEditNew", "New"),
         {{"mnuEditNewFoodGroup", "Food &Group", {}, &frmMain::mnuEditNewFoodGroup_Click},
          {"mnuEditNewFoodItem", "Food &Item", {}, &frmMain::mnuEditNewFoodItem_Click}});
    fill(
        edit,
        {{"mnueditsep2", "-", {}, nullptr},
         {"mnuEditDietDetails", "View Diet Totals", Qt::Key_F7, &frmMain::mnuEditDietDetails_Click},
         {"mnuEditDietEntry", "Diet Entry Details", Qt::Key_F8, &frmMain::mnuEditDietEntry_Click},
         {"menueditsep4", "-", {}, nullptr},
         {"mnuEditFoodDetails", "Food Item Details", Qt::Key_F9,
          &frmMain::mnuEditFoodDetails_Click},
         {"mnuEditFoodFav", "Copy Food To Favorites", QKeySequence(Qt::CTRL | Qt::Key_Insert),
          &frmMain::mnuEditFoodFav_Click},
         {"mnuViewBar0", "-", {}, nullptr},
         {"mnuEditCut", "Cu&t", QKeySequence(Qt::CTRL | Qt::Key_X), &frmMain::mnuEditCut_Click},
         {"mnuEditCopy", "&Copy", QKeySequence(Qt::CTRL | Qt::Key_C), &frmMain::mnuEditCopy_Click},
         {"mnuEditPaste", "&Paste", QKeySequence(Qt::CTRL | Qt::Key_V),
          &frmMain::mnuEditPaste_Click},
         {"mnuEditDelete", "&Delete", Qt::Key_Delete, &frmMain::mnuEditDelete_Click},
         {"mnuEditSep0", "-", {}, nullptr},
         {"mnuEditFindEntry", "&Find", QKeySequence(Qt::CTRL | Qt::Key_F),
          &frmMain::mnuEditFindEntry_Click},
         {"mnuEditFindNext", "Find &Next", Qt::Key_F3, &frmMain::mnuEditFindNext_Click},
         {"mnuEditRename", "Rename", Qt::Key_F2, &frmMain::mnuEditRename_Click}});

    fill(
        top("mnuTools", "&Tools"),
        {{"mnuToolsOptions", "&Configuration Options", {}, &frmMain::mnuToolsOptions_Click},
         {"mnuToolsDietReport", "&Produce Diet Report", {}, &frmMain::mnuToolsDietReport_Click},
         {"mnuToolsPurgeDietData", "P&urge Diet Data", {}, &frmMain::mnuToolsPurgeDietData_Click}});

    fill(top("mnuHelp", "&Help"),
         {{"mnuHelpContents", "&Contents", {}, &frmMain::mnuHelpContents_Click},
          {"mnuHelpSearchForHelpOn",
           "&Search For Help On...",
           {},
           &frmMain::mnuHelpSearchForHelpOn_Click},
          {"mnuHelpBar0", "-", {}, nullptr},
          {"mnuHelpAbout", "&About ", {}, &frmMain::mnuHelpAbout_Click}});

    // The popup shown on a right click in either tree; never part of the menu bar.
    mnuPop_RTB = new QMenu(QStringLiteral("PopUPFoods"), this);
    mnuPop_RTB->setObjectName(QStringLiteral("mnuPop_RTB"));
    fill(submenu(mnuPop_RTB, "mnuPop_RTB_New", "New"),
         {{"mnuPop_RTB_NewFoodGroup", "Food Group", {}, &frmMain::mnuEditNewFoodGroup_Click},
          {"mnuPop_RTB_NewFoodItem", "Food Item", {}, &frmMain::mnuEditNewFoodItem_Click}});
    fill(mnuPop_RTB,
         {{"mnuPop_RTBBar3", "-", {}, nullptr},
          {"mnuPop_RTB_DietDetails", "View Diet Totals", {}, &frmMain::mnuEditDietDetails_Click},
          {"mnuPop_RTB_DietEntry", "Edit Diet Entry Details", {}, &frmMain::mnuEditDietEntry_Click},
          {"mnuPop_RTBBar32", "-", {}, nullptr},
          {"mnuPop_RTB_FoodDetails",
           "Edit Food Item Details",
           {},
           &frmMain::mnuEditFoodDetails_Click},
          {"mnuPop_RTB_FoodFav", "Copy Food To Favorites", {}, &frmMain::mnuEditFoodFav_Click},
          {"mnuPop_RTBBar0", "-", {}, nullptr},
          {"mnuPop_RTB_Cut", "Cu&t", {}, &frmMain::mnuEditCut_Click},
          {"mnuPop_RTB_Copy", "&Copy", {}, &frmMain::mnuEditCopy_Click},
          {"mnuPop_RTB_Paste", "&Paste", {}, &frmMain::mnuEditPaste_Click},
          {"mnuPop_RTB_Delete", "&Delete", {}, &frmMain::mnuEditDelete_Click},
          {"mnuPop_RTB_Bar1", "-", {}, nullptr},
          {"mnuPop_RTB_Rename", "Rename", {}, &frmMain::mnuEditRename_Click}});
    parts.enable({"mnuEditPaste", "mnuEditDelete", "mnuPop_RTB_Paste", "mnuPop_RTB_Delete"}, false);
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
        const char* key;
        const char* tip;
        const char* image;
    };
    const Button buttons[] = {{"SelectUser", "Select User", "Person"},
                              {"Report", "Produce Diet Report", "Report"},
                              {nullptr, nullptr, nullptr},
                              {"NewGroup", "New Food Group", "FoodGroup"},
                              {"NewFood", "New Food Item", "FoodItem"},
                              {"Cut", "Cut the Selected Item", "Cut"},
                              {"Copy", "Copy the Selected Item", "Copy"},
                              {"Paste", "Paste", "Paste"},
                              {"Delete", "Delete Selected Item", "Delete"},
                              {"Find", "Find", "Find"},
                              {"Help", "Help", "Help"}};
    for (const Button& b : buttons) {
        if (!b.key) {
            tbToolBar->addSeparator();
            continue;
        }
        const QString key = QString::fromLatin1(b.key);
        // The tip is the button's text too: a screen reader names the button by it.
        QAction* a = tbToolBar->addAction(toolbarIcon(QString::fromLatin1(b.image)),
                                          QString::fromLatin1(b.tip));
        a->setObjectName(key);
        a->setToolTip(QString::fromLatin1(b.tip));
        connect(a, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
    }
    parts.enable({"Paste", "Delete"}, false);
    // The toolbar's own button for buttons that do not fit (shown only in a narrow window).
    if (auto* more = tbToolBar->findChild<QWidget*>(QStringLiteral("qt_toolbar_ext_button")))
        more->setAccessibleName(QStringLiteral("More Buttons"));
}

void frmMain::tbToolBar_ButtonClick(const QString& key) {
    if (key == u"SelectUser")
        mnuToolsOptions_Click();
    else if (key == u"Report")
        mnuToolsDietReport_Click();
    else if (key == u"Delete")
        mnuEditDelete_Click();
    else if (key == u"Cut")
        mnuEditCut_Click();
    else if (key == u"Copy")
        mnuEditCopy_Click();
    else if (key == u"Paste")
        mnuEditPaste_Click();
    else if (key == u"Find")
        mnuEditFindEntry_Click();
    else if (key == u"Help")
        mnuHelpContents_Click();
    else if (key == u"NewGroup")
        mnuEditNewFoodGroup_Click();
    else if (key == u"NewFood")
        mnuEditNewFoodItem_Click();
}

void frmMain::mnuFileRestore_Click() {
    // An edit in progress belongs to the state that is kept as a copy before the restore.
    food->SavePendingFood();
    if (!gDataSource->closed() && RestoreBackup(this))
        reloadAfterRestore();
}

void frmMain::mnuFileExit_Click() {
    close();
}
