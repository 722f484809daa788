#include "MainParts.h"

#include "ShowModal.h"
#include "TreeControl.h"

#include <QLabel>
#include <QMenu>
#include <QWidget>

void MainParts::showPopup(const TreeControl* tree) {
    state.blnRightButton = false;
    ShowPopupMenu(*mnuPop_RTB, tree->popupPosition());
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
