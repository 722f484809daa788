#include "frmMain.h"

#include "Config.h"
#include "Icons.h"
#include "ProgramInfo.h"
#include "MainLayout.h"
#include "Module1.h"
#include "Seams.h"
#include "TreeControl.h"
#include "WindowPlacement.h"
#include "clsFWSDataSource.h"
#include "frmCloseMsg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Forkwise ") +
                   ProgramInfo::shortVersionText(ProgramVersion::current()));
    setWindowIcon(applicationIcon());
    buildControls();
    buildMenus();
    buildToolbar();
    buildStatusBar();
    connectTrees();
}

frmMain::~frmMain() = default;

void frmMain::buildControls() {
    centre = new QWidget(this);
    centre->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(centre);

    frameFood = new QGroupBox(QStringLiteral("Food Groups"), centre);
    frameFood->setObjectName(QStringLiteral("frameFood"));
    tvwFood = new TreeControl(frameFood);
    tvwFood->setObjectName(QStringLiteral("tvwFood"));
    tvwDiet = new TreeControl(centre);
    tvwDiet->setObjectName(QStringLiteral("tvwDiet"));

    txtActivity = new QPlainTextEdit(centre);
    txtActivity->setObjectName(QStringLiteral("txtActivity"));
    txtActivity->setReadOnly(true);
    txtActivity->setFocusPolicy(Qt::NoFocus);
    txtActivity->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtActivity->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtActivity->setFrameShape(QFrame::NoFrame);
    QStringList letters;
    for (QChar c : QStringLiteral("DIET"))
        letters << QString(c);
    letters << QString();
    for (QChar c : QStringLiteral("ACTIVITY"))
        letters << QString(c);
    txtActivity->setPlainText(letters.join(u'\n'));
    QFont small = txtActivity->font();
    small.setBold(true);
    txtActivity->setFont(small);
}

namespace {
// A status bar panel: asks for its designed width but gives way when the window is narrower.
class Panel : public QLabel {
public:
    Panel(const QString& name, int width, QWidget* parent) : QLabel(parent), width_(width) {
        setObjectName(name);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override { return {width_, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

private:
    int width_;
};
} // namespace

void frmMain::buildStatusBar() {
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    sbPanel1 = new Panel(QStringLiteral("sbStatusBar_Panel1"), Twips::toPixels(7056, this), bar);
    sbPanel2 = new Panel(QStringLiteral("sbStatusBar_Panel2"), Twips::toPixels(2540, this), bar);
    sbPanel3 = new Panel(QStringLiteral("sbStatusBar_Panel3"), Twips::toPixels(2540, this), bar);
    sbPanel3->setAlignment(Qt::AlignCenter);
    bar->addWidget(sbPanel1, 1);
    bar->addPermanentWidget(sbPanel2);
    bar->addPermanentWidget(sbPanel3);
    setStatusBar(bar);
    // The date panel keeps itself current, past midnight too.
    refreshDate();
    dateTimer = new QTimer(this);
    dateTimer->setInterval(30 * 1000);
    connect(dateTimer, &QTimer::timeout, this, &frmMain::refreshDate);
    dateTimer->start();
}

void frmMain::refreshDate() {
    sbPanel3->setText(QLocale().toString(Clock::today(), QLocale::ShortFormat));
}

void frmMain::Form_Load() {
    restorePlacement();
    FoodClipValid = false;
    DietClipValid = false;
    gDataSource->cmdGroups();
    gDataSource->cmdFoods();
    gDataSource->cmdTableKey();
    if (!gDataSource->appDB.isOpen())
        return; // a failed command has closed the window
    gCurrentUser = LoadCurrentUser();
    sbPanel2->setText(QStringLiteral("User:  ") + GetConfigValue(gCurrentUser));
    sbPanel2->setToolTip(QStringLiteral("Current User"));
    gDataSource->cmdDietData(gCurrentUser);
    if (!gDataSource->appDB.isOpen())
        return;
    LoadFoodTree();
    LoadDietDates();
    FoodPending = false;
}

void frmMain::restorePlacement() {
    setGeometry(PlacementToScreen(LoadPlacement(), this));
}

void frmMain::savePlacement() {
    const QRect r = geometry();
    SavePlacement({Twips::fromPixels(r.x(), this), Twips::fromPixels(r.y(), this),
                   Twips::fromPixels(r.width(), this), Twips::fromPixels(r.height(), this)});
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize() {
    if (isMinimized())
        return;
    // The design places children in the window's inner area, whose top is the toolbar's top;
    // the central widget starts below the toolbar, so its children are shifted up by it.
    const int barHeight = menuBar()->isVisible() ? menuBar()->height() : 0;
    const double w = Twips::fromPixels(width(), this);
    const double h = Twips::fromPixels(height() - barHeight, this);
    const MainLayout l = ComputeMainLayout(w, h);
    const int shift = centre->y() - barHeight;
    const auto place = [&](QWidget* widget, const QRect& twips, int dy) {
        QRect r = Twips::toPixels(twips, this);
        r.translate(0, -dy);
        widget->setGeometry(r);
    };
    place(frameFood, l.frameFood, shift);
    place(tvwFood, l.tvwFood, 0);
    place(tvwDiet, l.tvwDiet, shift);
    place(txtActivity, l.txtActivity, shift);
}

void frmMain::closeEvent(QCloseEvent* event) {
    Form_QueryUnload();
    Form_Unload();
    event->accept();
}

void frmMain::Form_QueryUnload() {
    // Saving a pending food row comes with the food item editor.
}

void frmMain::Form_Unload() {
    if (unloaded)
        return;
    unloaded = true;
    // Other windows of the program close first, the most recently opened first.
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it)
        if (*it != this && (*it)->isVisible())
            (*it)->close();
    if (!isMinimized())
        savePlacement();
    dateTimer->stop();
    frmCloseMsg closing;
    closing.show();
    closing.repaint();
    Hourglass busy;
    if (gDataSource)
        gDataSource->closeDB();
    tvwFood->setUpdatesEnabled(false);
    tvwDiet->setUpdatesEnabled(false);
    tvwFood->Clear();
    tvwDiet->Clear();
}

void frmMain::connectTrees() {
    // Typed letters move through a group's foods by JumpToLetter, not by the tree's own search.
    tvwFood->setIncrementalSearch(false);
    tvwFood->setDragDropMode(QAbstractItemView::DragDrop);
    tvwDiet->setDragDropMode(QAbstractItemView::DragDrop);
    tvwFood->setAcceptDrops(true);
    tvwDiet->setAcceptDrops(true);

    connect(tvwFood, &TreeControl::NodeClick, this, &frmMain::tvwFood_NodeClick);
    connect(tvwFood, &TreeControl::MouseDown, this, &frmMain::tvwFood_MouseDown);
    connect(tvwFood, &TreeControl::KeyDown, this, &frmMain::tvwFood_KeyDown);
    connect(tvwFood, &TreeControl::DblClick, this, &frmMain::tvwFood_DblClick);
    connect(tvwFood, &TreeControl::GotFocus, this, &frmMain::tvwFood_GotFocus);
    connect(tvwFood, &TreeControl::Collapse, this, &frmMain::tvwFood_Collapse);
    connect(tvwFood, &TreeControl::Expand, this, &frmMain::tvwFood_Expand);
    // Renaming writes to the catalogue; until a handler takes the new name, the old one stays.
    connect(tvwFood, &TreeControl::AfterLabelEdit, this,
            [](bool& cancel, QString&) { cancel = true; });

    connect(tvwDiet, &TreeControl::NodeClick, this, &frmMain::tvwDiet_NodeClick);
    connect(tvwDiet, &TreeControl::MouseDown, this, &frmMain::tvwDiet_MouseDown);
    connect(tvwDiet, &TreeControl::KeyDown, this, &frmMain::tvwDiet_KeyDown);
    connect(tvwDiet, &TreeControl::DblClick, this, &frmMain::tvwDiet_DblClick);
    connect(tvwDiet, &TreeControl::GotFocus, this, &frmMain::tvwDiet_GotFocus);
    connect(tvwDiet, &TreeControl::Collapse, this, &frmMain::tvwDiet_Collapse);
    connect(tvwDiet, &TreeControl::Expand, this, &frmMain::tvwDiet_Expand);

    connect(tvwFood, &TreeControl::OLEStartDrag, this, &frmMain::tvwFood_OLEStartDrag);
    connect(tvwFood, &TreeControl::OLECompleteDrag, this, &frmMain::tvwFood_OLECompleteDrag);
    connect(tvwDiet, &TreeControl::OLEStartDrag, this, &frmMain::tvwDiet_OLEStartDrag);
    connect(tvwDiet, &TreeControl::OLEDragOver, this, &frmMain::tvwDiet_OLEDragOver);
    connect(tvwDiet, &TreeControl::OLEDragDrop, this, &frmMain::tvwDiet_OLEDragDrop);
    connect(tvwDiet, &TreeControl::OLECompleteDrag, this, &frmMain::tvwDiet_OLECompleteDrag);
}
