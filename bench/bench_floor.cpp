// forkwise-bench-floor: the bare Qt window the start-up benchmark measures Forkwise against. It
// has what any small Qt Widgets program shows at start (menus, a toolbar with standard icons,
// two short trees in a splitter, a status bar) and nothing of Forkwise, so that the ratio of
// the two start-ups says what Forkwise itself costs on top of the toolkit.

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>

using namespace Qt::Literals::StringLiterals;

namespace {

QTreeWidget* tree(QWidget* parent, const QString& prefix) {
    auto* t = new QTreeWidget(parent);
    t->setColumnCount(2);
    t->setHeaderLabels({u"Name"_s, u"Value"_s});
    for (int i = 1; i <= 10; ++i)
        new QTreeWidgetItem(t, {prefix + QString::number(i), QString::number(i * 10)});
    return t;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(u"QtFloor minimal"_s);
    window.resize(800, 600);

    QStyle* style = window.style();
    auto* quit = new QAction(u"Quit"_s, &window);
    QObject::connect(quit, &QAction::triggered, &window, &QMainWindow::close);
    window.menuBar()->addMenu(u"File"_s)->addAction(quit);
    window.menuBar()->addMenu(u"Edit"_s)->addAction(u"Copy"_s);
    window.menuBar()->addMenu(u"Help"_s)->addAction(u"About"_s);

    QToolBar* bar = window.addToolBar(u"Main"_s);
    bar->addAction(style->standardIcon(QStyle::SP_FileIcon), u"New"_s);
    bar->addAction(style->standardIcon(QStyle::SP_DialogOpenButton), u"Open"_s);
    bar->addAction(style->standardIcon(QStyle::SP_DialogSaveButton), u"Save"_s);
    bar->addAction(quit);

    auto* split = new QSplitter(Qt::Vertical, &window);
    split->addWidget(tree(split, u"Item "_s));
    split->addWidget(tree(split, u"Entry "_s));
    window.setCentralWidget(split);
    window.statusBar()->showMessage(u"Ready"_s);

    window.show();
    return QApplication::exec();
}
