#pragma once
// The one main window: owns the trees, menus, toolbar and status bar, and the state that
// connects the food catalogue to the diet log.
#include <QMainWindow>

class QLabel;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Opens the result sets the window lives on and fills it; a data failure closes the window.
    void Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Unload();

    QLabel* sbPanel1 = nullptr;
    QLabel* sbPanel2 = nullptr;
    QLabel* sbPanel3 = nullptr;
    bool unloaded = false;
};
