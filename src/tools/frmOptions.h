#pragma once
// "Configuration Options": the four users' display names, the current user, and the labels of
// the two optional nutrients. OK and Apply save all of them in one transaction.
#include "ModalDialog.h"

#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

class frmOptions : public ModalDialog {
    Q_OBJECT
public:
    explicit frmOptions(QWidget* parent = nullptr);

    void Form_Load();
    // Set once a save made another user current.
    bool blnUserChange = false;

    QTabBar* tabOptions = nullptr;
    QFrame* frmUser = nullptr;
    std::array<QLabel*, 4> lblUser{};
    std::array<QLineEdit*, 4> txtUser{};
    std::array<QRadioButton*, 4> optUser{};
    QFrame* frmOptionsFrame = nullptr; // the optional labels' frame, named frmOptions
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* txtOther1 = nullptr;
    QLineEdit* txtOther2 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdApply = nullptr;

private:
    void tabOptions_Click(int index);
    bool validate();
    // Saves every item in one transaction; false (nothing saved) when a write failed.
    bool save();
};

// Tools > Configuration Options and the toolbar's user button: shows the dialog; true when
// another user became current (the diet log is then to be reloaded for that user).
bool showOptions(QWidget* parent);
