#include "frmCloseMsg.h"

#include <QLabel>
#include <QVBoxLayout>

frmCloseMsg::frmCloseMsg(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmCloseMsg"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("Closing Forkwise Database Files"), this);
    label->setObjectName(QStringLiteral("lblClosing"));
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    resize(320, 80);
}
