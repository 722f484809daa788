#include "frmHelp.h"

#include "Seams.h"
#include "ToolsResources.h"

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace {

const QString kHelpCaption = QStringLiteral("Forkwise Help");

// The look of every help page, so the pages themselves stay plain HTML.
const QString kPageStyle = QStringLiteral("body { font-size: 10pt; }"
                                          "h1 { font-size: 16pt; color: #204a87; }"
                                          "h2 { font-size: 12pt; color: #204a87; }"
                                          "th { background-color: #dce4ee; text-align: left; }"
                                          "p.note { background-color: #fcf6dc; }"
                                          "p.related { color: #555753; }");

struct KeywordEntry {
    QString keyword;
    const HelpTopic* topic;
};

QPointer<frmHelp>& theHelpWindow() {
    static QPointer<frmHelp> window;
    return window;
}

// The one help window, made on first use and made again when the help document has moved.
// Says why when there is no help to show.
frmHelp* helpWindow(QWidget* owner, const QString& title) {
    const QUrl contents = helpFile();
    if (contents.isEmpty()) {
        const QString caption = title.isEmpty() && owner ? owner->window()->windowTitle() : title;
        MsgBox(QStringLiteral("Unable to display Help Contents. There is no Help associated with "
                              "this project."),
               vbInformation | vbOKOnly, caption);
        return nullptr;
    }
    QPointer<frmHelp>& window = theHelpWindow();
    if (window && window->contentsUrl() == contents)
        return window;
    delete window;
    const HelpDocument document(contents);
    if (!document.isAvailable()) {
        MsgBox(QStringLiteral("Unable to open the help file ") + HelpDocument::localPath(contents) +
                   u'.',
               vbOKOnly, QStringLiteral("Forkwise"));
        return nullptr;
    }
    window = new frmHelp(document, owner);
    return window;
}

void present(QWidget* window) {
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

frmHelp::frmHelp(const HelpDocument& document, QWidget* owner)
    : QMainWindow(owner, Qt::Window), document_(document) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(kHelpCaption);
    ensureToolsResources();

    actBack = new QAction(QIcon(QStringLiteral(":/tools/back.png")), QStringLiteral("&Back"), this);
    actBack->setObjectName(QStringLiteral("actBack"));
    actBack->setShortcut(QKeySequence::Back);
    actBack->setEnabled(false);
    actForward =
        new QAction(QIcon(QStringLiteral(":/tools/forward.png")), QStringLiteral("&Forward"), this);
    actForward->setObjectName(QStringLiteral("actForward"));
    actForward->setShortcut(QKeySequence::Forward);
    actForward->setEnabled(false);
    actContents = new QAction(QIcon(QStringLiteral(":/tools/contents.png")),
                              QStringLiteral("&Contents"), this);
    actContents->setObjectName(QStringLiteral("actContents"));
    actContents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    actSearch =
        new QAction(QIcon(QStringLiteral(":/tools/search.png")), QStringLiteral("&Search"), this);
    actSearch->setObjectName(QStringLiteral("actSearch"));
    actSearch->setCheckable(true);
    actSearch->setShortcut(QKeySequence::Find);

    auto* bar = addToolBar(QStringLiteral("Help"));
    bar->setObjectName(QStringLiteral("tbHelp"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->addAction(actBack);
    bar->addAction(actForward);
    bar->addAction(actContents);
    bar->addAction(actSearch);

    fraSearch = new QWidget;
    fraSearch->setObjectName(QStringLiteral("fraSearch"));
    auto* prompt = new QLabel(QStringLiteral("&Type a word to look for:"), fraSearch);
    txtKeyword = new QLineEdit(fraSearch);
    txtKeyword->setObjectName(QStringLiteral("txtKeyword"));
    txtKeyword->setClearButtonEnabled(true);
    prompt->setBuddy(txtKeyword);
    lstKeywords = new QTreeWidget(fraSearch);
    lstKeywords->setObjectName(QStringLiteral("lstKeywords"));
    lstKeywords->setHeaderLabels({QStringLiteral("Keyword"), QStringLiteral("Topic")});
    lstKeywords->setRootIsDecorated(false);
    lstKeywords->setUniformRowHeights(true);
    lstKeywords->setAllColumnsShowFocus(true);
    lstKeywords->header()->setStretchLastSection(true);
    lstKeywords->setColumnWidth(0, 200);
    cmdDisplay = new QPushButton(QStringLiteral("&Display"), fraSearch);
    cmdDisplay->setObjectName(QStringLiteral("cmdDisplay"));
    auto* searchLayout = new QVBoxLayout(fraSearch);
    searchLayout->setContentsMargins(6, 6, 0, 6);
    searchLayout->addWidget(prompt);
    searchLayout->addWidget(txtKeyword);
    searchLayout->addWidget(lstKeywords, 1);
    searchLayout->addWidget(cmdDisplay, 0, Qt::AlignRight);
    fraSearch->hide();

    txtTopic = new QTextBrowser;
    txtTopic->setObjectName(QStringLiteral("txtTopic"));
    txtTopic->setOpenExternalLinks(true);
    txtTopic->document()->setDefaultStyleSheet(kPageStyle);

    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->addWidget(fraSearch);
    splitter_->addWidget(txtTopic);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setCollapsible(0, false);
    fraSearch->setMinimumWidth(220);
    setCentralWidget(splitter_);
    resize(1000, 680);

    fillKeywords();
    txtKeyword->installEventFilter(this);

    connect(actBack, &QAction::triggered, txtTopic, &QTextBrowser::backward);
    connect(actForward, &QAction::triggered, txtTopic, &QTextBrowser::forward);
    connect(txtTopic, &QTextBrowser::backwardAvailable, actBack, &QAction::setEnabled);
    connect(txtTopic, &QTextBrowser::forwardAvailable, actForward, &QAction::setEnabled);
    connect(actContents, &QAction::triggered, this, &frmHelp::showContents);
    connect(actSearch, &QAction::toggled, this, &frmHelp::actSearch_Toggle);
    connect(txtKeyword, &QLineEdit::textChanged, this, &frmHelp::txtKeyword_Change);
    connect(txtKeyword, &QLineEdit::returnPressed, this, &frmHelp::cmdDisplay_Click);
    connect(lstKeywords, &QTreeWidget::itemActivated, this, &frmHelp::lstKeywords_Activate);
    connect(cmdDisplay, &QPushButton::clicked, this, &frmHelp::cmdDisplay_Click);
    connect(txtTopic, &QTextBrowser::sourceChanged, this, &frmHelp::txtTopic_SourceChanged);

    showContents();
}

// One line per keyword and topic, in alphabetical order of the keywords, as a book's index.
void frmHelp::fillKeywords() {
    std::vector<KeywordEntry> entries;
    for (const HelpTopic& topic : document_.topics())
        for (const QString& keyword : topic.keywords)
            entries.push_back({keyword, &topic});
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        const int byKeyword = QString::compare(a.keyword, b.keyword, Qt::CaseInsensitive);
        if (byKeyword != 0)
            return byKeyword < 0;
        return QString::compare(a.topic->title, b.topic->title, Qt::CaseInsensitive) < 0;
    });
    for (const KeywordEntry& e : entries) {
        auto* item = new QTreeWidgetItem(lstKeywords, {e.keyword, e.topic->title});
        item->setData(0, Qt::UserRole, e.topic->url);
        item->setToolTip(0, e.keyword);
        item->setToolTip(1, e.topic->title);
    }
}

// A pane that was hidden comes back with no width of its own; give it two fifths of the window.
void frmHelp::actSearch_Toggle(bool on) {
    fraSearch->setVisible(on);
    if (on && splitter_->sizes().value(0) < fraSearch->minimumWidth()) {
        const int total = splitter_->width();
        const int pane = qMax(fraSearch->minimumWidth(), total * 2 / 5);
        splitter_->setSizes({pane, total - pane});
    }
}

void frmHelp::showContents() {
    showTopic(document_.contentsUrl());
}

void frmHelp::showSearch() {
    actSearch->setChecked(true);
    txtKeyword->clear();
    txtKeyword_Change(QString());
    txtKeyword->setFocus();
}

void frmHelp::showTopic(const QUrl& url) {
    if (txtTopic->source() == url)
        txtTopic->reload();
    else
        txtTopic->setSource(url);
}

// Keeps the lines whose keyword or topic holds the typed text, and selects the first keyword
// that begins with it, else the first line left.
void frmHelp::txtKeyword_Change(const QString& text) {
    const QString wanted = text.simplified();
    QTreeWidgetItem* firstShown = nullptr;
    QTreeWidgetItem* firstBeginning = nullptr;
    for (int i = 0; i < lstKeywords->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lstKeywords->topLevelItem(i);
        const bool shown = item->text(0).contains(wanted, Qt::CaseInsensitive) ||
                           item->text(1).contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (!shown)
            continue;
        if (!firstShown)
            firstShown = item;
        if (!firstBeginning && item->text(0).startsWith(wanted, Qt::CaseInsensitive))
            firstBeginning = item;
    }
    QTreeWidgetItem* current = firstBeginning ? firstBeginning : firstShown;
    lstKeywords->setCurrentItem(current);
    if (current)
        lstKeywords->scrollToItem(current, QAbstractItemView::PositionAtTop);
    cmdDisplay->setEnabled(current != nullptr);
}

void frmHelp::lstKeywords_Activate(QTreeWidgetItem* item) {
    if (item && !item->isHidden())
        showTopic(item->data(0, Qt::UserRole).toUrl());
}

void frmHelp::cmdDisplay_Click() {
    lstKeywords_Activate(lstKeywords->currentItem());
}

void frmHelp::txtTopic_SourceChanged() {
    const QString title = txtTopic->documentTitle();
    setWindowTitle(title.isEmpty() ? kHelpCaption : kHelpCaption + QStringLiteral(" - ") + title);
}

// The arrow and page keys typed in the keyword box move through the list, so the hand can stay
// on the keyboard.
bool frmHelp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtKeyword && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(lstKeywords, event);
            return true;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

frmHelp* showHelpContents(QWidget* owner, const QString& title) {
    frmHelp* window = helpWindow(owner, title);
    if (window) {
        window->showContents();
        present(window);
    }
    return window;
}

frmHelp* showHelpSearch(QWidget* owner, const QString& title) {
    frmHelp* window = helpWindow(owner, title);
    if (window) {
        present(window);
        window->showSearch();
    }
    return window;
}
