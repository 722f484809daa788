#pragma once
// The real program started on a small database, offscreen, with its message boxes, popup menus
// and settings kept inside the test.
#include "Module1App.h"
#include "MsgBoxRecorder.h"
#include "TestDatabase.h"
#include "TreeControl.h"
#include "frmMain.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// SQL adding a diet entry of one serving with 2 g fat and no protein value.
QString dietRow(int id, const char* user, const char* date, const char* food);

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs SQL on the file before the program opens it.
    void prepare(const QStringList& statements);
    // Starts the program; the window is gMainForm.
    void start();
    // Closes the main window as the user does and lets the close finish.
    void closeWindow();

    frmMain& w() { return *gMainForm; }
    bool enabled(const char* action) const;
    // Clicks a node with a mouse button, as the user does.
    void click(TreeControl* tree, TreeNode* node, Qt::MouseButton button = Qt::LeftButton);
    void key(TreeControl* tree, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier);

    TestDatabase db;
    QTemporaryDir settingsDir;
    MsgBoxRecorder boxes;
    int popups = 0;
};
