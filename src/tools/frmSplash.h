#pragma once
// The window shown while the program starts, until the main window has loaded.
#include <QWidget>

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);
};
