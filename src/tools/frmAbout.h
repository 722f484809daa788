#pragma once
// The About box of the Help menu: the program's name, version, how to reach its makers and
// where the diet log is.
#include "ProgramInfo.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    // Shows this program's own version.
    explicit frmAbout(QWidget* owner = nullptr);
    frmAbout(const ProgramVersion& version, QWidget* owner);

    QLabel* picIcon;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* Label2;
    QLabel* lblEMail;
    QLabel* lblPostal;
    QLabel* Label3;
    QLabel* lblWEbLink;
    QFrame* Line1[2];
    QLabel* lblDietLog; // where this run's diet log is
    QPushButton* cmdOK;

    // Esc and the close box close the box the way OK does.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load(const ProgramVersion& version);
    void cmdOK_Click();
    void lblWEbLink_Click();
};

// Shows the About box modally, owned by `owner` (the main window's Help, About).
void showAboutBox(QWidget* owner);
