#pragma once
// The small window shown while the database files are being closed.
#include <QWidget>

class frmCloseMsg : public QWidget {
    Q_OBJECT
public:
    explicit frmCloseMsg(QWidget* parent = nullptr);
};
