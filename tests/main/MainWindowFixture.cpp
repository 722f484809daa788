#include "MainWindowFixture.h"

#include "Module1.h"
#include "ShowModal.h"
#include "SqlProbe.h"
#include "clsFWSDataSource.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QTest>

QString dietRow(int id, const char* user, const char* date, const char* food) {
    return QStringLiteral("INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, "
                          "NumServings, Fat, Protein) VALUES (%1, '%2', '%3', '%4', 1, 2, NULL)")
        .arg(id)
        .arg(QString::fromLatin1(user), QString::fromLatin1(date), QString::fromLatin1(food));
}

void MainWindowTest::SetUp() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    setPopupHandler([this](QMenu&, const QPoint&) { ++popups; });
    // No message box is ever shown with the hourglass pointer: it waits for the person.
    Hourglass::install([this] { ++hourglass; }, [this] { --hourglass; });
    recorder = setMsgBoxHandler({});
    setMsgBoxHandler([this](const QString& prompt, int buttons, const QString& title) {
        EXPECT_EQ(hourglass, 0) << "a box under the hourglass: " << qPrintable(prompt);
        return recorder(prompt, buttons, title);
    });
}

void MainWindowTest::TearDown() {
    closeWindow();
    setMsgBoxHandler(recorder);
    Hourglass::install({}, {});
    setPopupHandler({});
    setModalHandler({});
    Clock::setFixed({});
}

void MainWindowTest::prepare(const QStringList& statements) {
    for (const QString& sql : statements)
        queryValue(db.path(), sql);
    matchDietDays(db.path());
}

void MainWindowTest::start() {
    ASSERT_TRUE(startProgram(db.programDir()));
    ASSERT_TRUE(gMainForm);
    QApplication::processEvents();
}

void MainWindowTest::closeWindow() {
    if (gMainForm) {
        gMainForm->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    gDataSource.reset();
}

bool MainWindowTest::enabled(const char* name) const {
    QAction* a = gMainForm->action(QString::fromLatin1(name));
    EXPECT_TRUE(a) << name;
    return a && a->isEnabled();
}

void MainWindowTest::click(TreeControl* tree, TreeNode* node, Qt::MouseButton button) {
    ASSERT_TRUE(node);
    tree->EnsureVisible(node);
    const QPoint at = tree->visualItemRect(node).center();
    QTest::mouseClick(tree->viewport(), button, Qt::NoModifier, at);
}

void MainWindowTest::key(TreeControl* tree, Qt::Key k, Qt::KeyboardModifiers mods) {
    QTest::keyClick(tree, k, mods);
}

void MainWindowTest::doubleClick(TreeControl* tree, TreeNode* node) {
    ASSERT_TRUE(node);
    tree->EnsureVisible(node);
    // What the window system delivers: a click, then the second press as a double click.
    const QPoint at = tree->visualItemRect(node).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void MainWindowTest::choose(const char* name) {
    QAction* a = gMainForm->action(QString::fromLatin1(name));
    ASSERT_TRUE(a) << name;
    ASSERT_TRUE(a->isEnabled()) << name;
    a->trigger();
}

void MainWindowTest::drag(TreeControl* from, TreeNode* node, Qt::MouseButton button,
                          const std::function<void(const QMimeData&)>& whileDragging) {
    ASSERT_TRUE(node);
    from->EnsureVisible(node);
    const QPoint at = from->visualItemRect(node).center();
    QObject::connect(
        from, &TreeControl::OLEStartDrag, from,
        [whileDragging](QMimeData* data, Qt::DropActions&) { whileDragging(*data); },
        Qt::SingleShotConnection);
    QTest::mousePress(from->viewport(), button, Qt::NoModifier, at);
    const QPoint away = at + QPoint(0, QApplication::startDragDistance() + 2);
    QMouseEvent pull(QEvent::MouseMove, away, from->viewport()->mapToGlobal(away), Qt::NoButton,
                     button, Qt::NoModifier);
    QApplication::sendEvent(from->viewport(), &pull);
    QApplication::processEvents();
}

namespace {
QPoint pointOf(TreeControl* tree, TreeNode* target) {
    if (!target)
        return {5, tree->viewport()->height() - 2}; // below the last node
    tree->EnsureVisible(target);
    return tree->visualItemRect(target).center();
}
} // namespace

// The pointer enters the tree of `target` (the diet tree for none) over it and, on a drop, the
// button comes up there; otherwise it leaves again. Returns whether the target was highlighted
// while over it.
static bool passOver(const QMimeData& data, TreeNode* target, bool drop) {
    TreeControl* tree =
        target ? static_cast<TreeControl*>(target->treeWidget()) : gMainForm->tvwDiet;
    const QPoint pos = pointOf(tree, target);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(pos, actions, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &enter);
    if (drop) {
        QDropEvent event(pos, actions, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &event);
        return false;
    }
    QDragMoveEvent move(pos, actions, &data, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &move);
    const bool lit = tree->dropHighlight() && tree->dropHighlight() == target;
    QDragLeaveEvent leave;
    QApplication::sendEvent(tree->viewport(), &leave);
    tree->setDropHighlight(nullptr);
    return lit;
}

void MainWindowTest::dropOn(const QMimeData& data, TreeNode* target) {
    passOver(data, target, true);
}

bool MainWindowTest::highlightedOver(const QMimeData& data, TreeNode* target) {
    return passOver(data, target, false);
}

void MainWindowTest::dragTo(TreeControl* from, TreeNode* node, Qt::MouseButton button,
                            TreeNode* target) {
    drag(from, node, button, [this, target](const QMimeData& data) { dropOn(data, target); });
}

void MainWindowTest::type(const QString& text) {
    QApplication::processEvents(); // the tree lays itself out, as before a person types
    auto* editor = w().tvwFood->viewport()->findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
}

QVariant MainWindowTest::value(const QString& query, const QVariantList& params) {
    const auto rs = Recordset::openSnapshot(gDataSource->appDB, query, params);
    return rs->eof() ? QVariant() : rs->Fields(rs->fieldNames().first());
}

QStringList MainWindowTest::prompts() {
    QStringList out;
    for (const RecordedBox& b : boxes.boxes())
        out << b.prompt;
    boxes.clear();
    return out;
}

QString MainWindowTest::blockBackups() {
    const QString path = QFileInfo(db.path()).dir().filePath(QStringLiteral("Backups"));
    EXPECT_TRUE(writeFile(path, "not a folder"));
    return path;
}
