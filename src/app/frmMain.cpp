#include "frmMain.h"

#include "Config.h"
#include "Icons.h"
#include "MainLayout.h"
#include "Module1.h"
#include "ProgramInfo.h"
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
    centre->installEventFilter(this);
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
    // Thirteen short lines have to fit beside the diet tree even in a small window.
    QFont small = txtActivity->font();
    small.setBold(true);
    small.setPointSizeF(small.pointSizeF() * 0.8);
    txtActivity->setFont(small);
    txtActivity->document()->setDocumentMargin(1);
    // A caption, not a field: it takes the window's colour, and the diet tree's frame stays on top.
    QPalette caption = txtActivity->palette();
    caption.setColor(QPalette::Base, caption.color(QPalette::Window));
    txtActivity->setPalette(caption);
    tvwDiet->raise();
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
    // A failed command has reported itself and closed the window: the load stops there, so the
    // user sees one message rather than one for every command after it.
    for (void (clsFWSDataSource::*command)() :
         {&clsFWSDataSource::cmdGroups, &clsFWSDataSource::cmdFoods,
          &clsFWSDataSource::cmdTableKey}) {
        (gDataSource.get()->*command)();
        if (!gDataSource->appDB.isOpen())
            return;
    }
    gCurrentUser = LoadCurrentUser();
    sbPanel2->setText(QStringLiteral("User:  ") + GetConfigValue(gCurrentUser));
    sbPanel2->setToolTip(QStringLiteral("Current User"));
    gDataSource->cmdDietData(gCurrentUser);
    if (!gDataSource->appDB.isOpen())
        return;
    LoadFoodTree();
    if (!gDataSource->appDB.isOpen())
        return;
    LoadDietDates();
    tvwDiet->scrollToBottom(); // the latest days are the ones a person looks for
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

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    // The children are laid out once the central area has its new size.
    if (watched == centre && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::Form_Resize() {
    if (isMinimized())
        return;
    // The design measures from the top of the window's inner area, where the toolbar (420
    // twips) sits, down to the status bar (270 twips); the children live in the central widget
    // between the two, so the inner area is rebuilt around it from the design's bar heights.
    constexpr double kToolbar = 420, kStatusBar = 270;
    const double w = Twips::fromPixels(centre->width(), this);
    const double h = Twips::fromPixels(centre->height(), this) + kToolbar + kStatusBar;
    const MainLayout l = ComputeMainLayout(w, h);
    const auto place = [&](QWidget* widget, QRect twips, bool belowToolbar) {
        if (belowToolbar)
            twips.translate(0, -int(kToolbar));
        widget->setGeometry(Twips::toPixels(twips, this));
    };
    place(frameFood, l.frameFood, true);
    place(tvwFood, l.tvwFood, false);
    place(tvwDiet, l.tvwDiet, true);
    place(txtActivity, l.txtActivity, true);
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
