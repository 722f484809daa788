#include "MainWindowFixture.h"

#include "Module1.h"
#include "ShowModal.h"
#include "SqlProbe.h"
#include "clsFWSDataSource.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
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
}

void MainWindowTest::TearDown() {
    closeWindow();
    setPopupHandler({});
}

void MainWindowTest::prepare(const QStringList& statements) {
    for (const QString& sql : statements)
        queryValue(db.path(), sql);
}

void MainWindowTest::start() {
    ASSERT_TRUE(StartProgram(db.programDir()));
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
