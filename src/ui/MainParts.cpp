#include "MainParts.h"

#include "ShowModal.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QWidget>

void MainParts::enable(std::initializer_list<const char*> names, bool on) const {
    for (const char* name : names) {
        QAction* a = window->findChild<QAction*>(QString::fromLatin1(name));
        if (!a)
            qFatal("No action named %s", name);
        a->setEnabled(on);
    }
}

void MainParts::showPopup() {
    state.blnRightButton = false;
    ShowPopupMenu(*mnuPop_RTB, QCursor::pos());
}

void MainParts::showServingSize(const QString* servingSize) const {
    if (servingSize) {
        sbPanel1->setText(QStringLiteral("Serving Size:  ") + *servingSize);
        sbPanel1->setToolTip(QStringLiteral("Serving Size of Selected Food Item"));
    } else {
        sbPanel1->clear();
        sbPanel1->setToolTip(QString());
    }
}
