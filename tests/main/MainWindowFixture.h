#pragma once
// The real program started on a small database, offscreen, with its message boxes, popup menus
// and settings kept inside the test.
#include "Module1App.h"
#include "MsgBoxRecorder.h"
#include "ShowModal.h"
#include "TestDatabase.h"
#include "TreeControl.h"
#include "frmMain.h"

#include <QDialog>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

class QMimeData;

// SQL adding a diet entry of one serving with 2 g fat and no protein value.
QString dietRow(int id, const char* user, const char* date, const char* food);

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs SQL on the file before the program opens it; the entries it wrote get their days.
    void prepare(const QStringList& statements);
    // Starts the program; the window is gMainForm.
    void start();
    // Closes the main window as the user does and lets the close finish.
    void closeWindow();

    frmMain& w() { return *gMainForm; }
    bool enabled(const char* action) const;
    // Clicks a node with a mouse button, as the user does.
    void click(TreeControl* tree, TreeNode* node, Qt::MouseButton button = Qt::LeftButton);
    void doubleClick(TreeControl* tree, TreeNode* node);
    void key(TreeControl* tree, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier);
    // Presses a node with a button and pulls it until its drag starts; `whileDragging` then
    // plays the part of the pointer over the diet tree (see dropOn and highlightedOver).
    void drag(TreeControl* from, TreeNode* node, Qt::MouseButton button,
              const std::function<void(const QMimeData&)>& whileDragging);
    // The drag arrives over `target` in its tree (nullptr: below the diet tree's last node) and the
    // button comes up there; or it only passes over it, and whether it was highlighted is told.
    void dropOn(const QMimeData& data, TreeNode* target);
    bool highlightedOver(const QMimeData& data, TreeNode* target);
    // A whole drag of `node` dropped on `target` of the diet tree.
    void dragTo(TreeControl* from, TreeNode* node, Qt::MouseButton button, TreeNode* target);
    // Chooses a command of the menus or the toolbar by its name.
    void choose(const char* action);
    // Types into the food tree's open label editor and ends the edit with Enter.
    void type(const QString& text);
    TreeNode* foodNode(const char* key) { return w().tvwFood->Item(QString::fromLatin1(key)); }

    // The first column of a query's first row on the open log; invalid (empty) for none.
    QVariant value(const QString& query, const QVariantList& params = {});
    QString sql(const QString& query, const QVariantList& params = {}) {
        return value(query, params).toString();
    }
    // Answers the next modal dialogs, which must be a `Dialog`: `act` plays the user in it.
    template <typename Dialog> void answer(std::function<void(Dialog&)> act) {
        setModalHandler([act](QDialog& d) {
            act(dynamic_cast<Dialog&>(d));
            return d.result();
        });
    }
    // The prompts of the message boxes shown since the last call.
    QStringList prompts();
    // Puts a file where the backup folder goes, so no checked copy can be made; returns its path.
    QString blockBackups();

    TestDatabase db;
    QTemporaryDir settingsDir;
    MsgBoxRecorder boxes;
    MsgBoxHandler recorder; // the boxes' own answers, behind the hourglass check
    int hourglass = 0;      // hourglass pointers shown now
    int popups = 0;
};
