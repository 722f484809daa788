#include "frmMain.h"

#include "CommandBoundary.h"
#include "Config.h"
#include "DietLog.h"
#include "FoodCatalog.h"
#include "Icons.h"
#include "MainLayout.h"
#include "Module1.h"
#include "ProgramInfo.h"
#include "Seams.h"
#include "Snapshot.h"
#include "TodayCalories.h"
#include "TreeControl.h"
#include "WindowPlacement.h"
#include "clsFWSDataSource.h"
#include "frmCloseMsg.h"
#include "frmFind.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Forkwise ") +
                   ProgramInfo::shortVersionText(ProgramVersion::current()));
    setWindowIcon(applicationIcon());
    parts.window = this;
    buildControls();
    buildMenus();
    buildToolbar();
    // Nothing to paste or delete before a node is clicked.
    parts.enable({Command::Paste, Command::Delete}, false);
    buildStatusBar();
    FindDialog = new frmFind(this);
    // Small enough for any screen, large enough that both trees show a few lines.
    setMinimumSize(Twips::toPixels(5400, this), Twips::toPixels(5400, this));
    parts.tvwFood = tvwFood;
    parts.tvwDiet = tvwDiet;
    parts.sbPanel1 = sbPanel1;
    parts.mnuPop_RTB = mnuPop_RTB;
    tvwFood->setDragDropMode(QAbstractItemView::DragDrop);
    tvwDiet->setDragDropMode(QAbstractItemView::DragDrop);
    tvwFood->setAcceptDrops(true);
    tvwDiet->setAcceptDrops(true);
    diet = std::make_unique<DietLog>(parts);
    food = std::make_unique<FoodCatalog>(parts);
    parts.dietEntries = diet.get();
    parts.foodSelection = food.get();
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
    tvwFood->setAccessibleName(QStringLiteral("Food Groups"));
    tvwDiet->setAccessibleName(QStringLiteral("Diet Activity"));

    txtActivity = new QPlainTextEdit(centre);
    txtActivity->setObjectName(QStringLiteral("txtActivity"));
    txtActivity->setAccessibleName(QStringLiteral("Diet Activity"));
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
// A status bar panel: asks for its designed width but gives way when the window is narrower,
// and then shortens its text with "..." rather than run under its neighbour.
class Panel : public QLabel {
public:
    Panel(const QString& name, const QString& description, int width, QWidget* parent)
        : QLabel(parent), width_(width) {
        setObjectName(name);
        setAccessibleDescription(description); // its text is what a screen reader reads
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    }
    // Panels 2 and 3 hold short texts: they take no more than these need, so panel 1 keeps
    // room for a serving size even in a narrow window.
    QSize sizeHint() const override {
        const int needed = fitText_ ? QLabel::sizeHint().width() + 8 : width_;
        return {std::min(width_, needed), QLabel::sizeHint().height()};
    }
    void setFitText(bool on) { fitText_ = on; }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect area = contentsRect();
        painter.drawText(area, int(alignment()),
                         fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
    }

private:
    int width_;
    bool fitText_ = false;
};
} // namespace

void frmMain::buildStatusBar() {
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setAccessibleName(QStringLiteral("Status"));
    auto* servingPanel =
        new Panel(QStringLiteral("sbStatusBar_Panel1"), QStringLiteral("Serving Size"),
                  Twips::toPixels(7056, this), bar);
    auto* userPanel = new Panel(QStringLiteral("sbStatusBar_Panel2"),
                                QStringLiteral("Current User"), Twips::toPixels(2540, this), bar);
    auto* datePanel = new Panel(QStringLiteral("sbStatusBar_Panel3"), QStringLiteral("Date"),
                                Twips::toPixels(2540, this), bar);
    auto* todayPanel =
        new Panel(QStringLiteral("sbStatusBar_PanelToday"), QStringLiteral("Today's Calories"),
                  Twips::toPixels(3400, this), bar);
    userPanel->setFitText(true);
    todayPanel->setFitText(true);
    datePanel->setFitText(true);
    sbPanel1 = servingPanel;
    sbPanel2 = userPanel;
    sbPanelToday = todayPanel;
    sbPanel3 = datePanel;
    sbPanel3->setAlignment(Qt::AlignCenter);
    bar->addWidget(sbPanel1, 1);
    bar->addPermanentWidget(sbPanel2);
    bar->addPermanentWidget(sbPanelToday);
    bar->addPermanentWidget(sbPanel3);
    setStatusBar(bar);
    today = new TodayCalories(sbPanelToday);
    parts.onDietChanged = [this] { today->refreshLater(); };
    // The date panel keeps itself current, past midnight too, and today's calories with it.
    refreshDate();
    dateTimer = new QTimer(this);
    dateTimer->setObjectName(QStringLiteral("tmrDate"));
    dateTimer->setInterval(30 * 1000);
    connect(dateTimer, &QTimer::timeout, this, [this] { guarded([this] { refreshDate(); }); });
    dateTimer->start();
}

void frmMain::refreshDate() {
    sbPanel3->setText(QLocale().toString(Clock::today(), QLocale::ShortFormat));
    today->dayPassed();
}

void frmMain::Form_Load() {
    restorePlacement();
    parts.state.FoodClipValid = false;
    parts.state.DietClipValid = false;
    // A failed command has shown its message and throws: the load stops there, so the user sees
    // one message rather than one for every command after it.
    gDataSource->cmdGroups();
    gDataSource->cmdFoods();
    gDataSource->cmdTableKey();
    gCurrentUser = LoadCurrentUser();
    sbPanel2->setText(QStringLiteral("User:  ") + GetConfigValue(gCurrentUser));
    sbPanel2->setToolTip(QStringLiteral("Current User"));
    gDataSource->cmdDietData(gCurrentUser);
    food->LoadFoodTree();
    diet->LoadDietDates();
    tvwDiet->scrollToBottom(); // the latest days are the ones a person looks for
    parts.state.FoodPending = false;
    today->refresh();
}

void frmMain::reloadAfterRestore() {
    Hourglass busy;
    // The clipboards may name foods and entries the restored log does not hold.
    parts.state.FoodClipValid = false;
    parts.state.DietClipValid = false;
    // A paste left pending belongs to the state that was replaced.
    parts.state.FoodPending = false;
    parts.state.FoodIsNew = false;
    parts.enable({Command::Paste}, false);
    gDataSource->reopenResultSets();
    gCurrentUser = LoadCurrentUser();
    sbPanel2->setText(QStringLiteral("User:  ") + GetConfigValue(gCurrentUser));
    sbPanel2->setToolTip(QStringLiteral("Current User"));
    tvwFood->Clear();
    food->LoadFoodTree();
    today->forgetTargets(); // the copy's own
    diet->ReloadDietLog();
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
    // A pending food whose save fails on the way out is reported; the window closes all the same.
    guarded([this] { Form_QueryUnload(); });
    Form_Unload();
    event->accept();
}

void frmMain::Form_QueryUnload() {
    if (gDataSource && !gDataSource->closed())
        food->SavePendingFood();
}

void frmMain::closeAfterFailure() {
    closingAfterFailure = true;
    close();
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
    // A normal close leaves a checked copy of the log behind (none when nothing changed since
    // the last one); a close after a failed command does not copy a file that just failed.
    if (gDataSource && !gDataSource->closed() && !closingAfterFailure)
        SnapshotOrExplain(gDataSource->appDB, SnapshotMoment::Closing);
    if (gDataSource)
        gDataSource->closeDB();
    tvwFood->setUpdatesEnabled(false);
    tvwDiet->setUpdatesEnabled(false);
    tvwFood->Clear();
    tvwDiet->Clear();
}
