#pragma once
// The window shown while the program starts, until the main window has loaded.
#include "ProgramInfo.h"

#include <QWidget>

class QFrame;
class QLabel;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    // Shows this program's own version.
    explicit frmSplash(QWidget* parent = nullptr);
    explicit frmSplash(const ProgramVersion& version, QWidget* parent = nullptr);

    QFrame* fraMainFrame;
    QLabel* picLogo;
    QLabel* lblProductName;
    QLabel* lblPlatform;
    QLabel* lblVersion;

private:
    void Form_Load(const ProgramVersion& version);
};
