#include "ShowModal.h"

#include <QDialog>
#include <QMenu>
#include <utility>

namespace {
ModalHandler& handler() {
    static ModalHandler h;
    return h;
}
PopupHandler& popupHandler() {
    static PopupHandler h;
    return h;
}
} // namespace

int ShowModal(QDialog& dialog) {
    return handler() ? handler()(dialog) : dialog.exec();
}

ModalHandler setModalHandler(ModalHandler h) {
    return std::exchange(handler(), std::move(h));
}

void ShowPopupMenu(QMenu& menu, const QPoint& pos) {
    if (popupHandler())
        popupHandler()(menu, pos);
    else
        menu.exec(pos);
}

PopupHandler setPopupHandler(PopupHandler h) {
    return std::exchange(popupHandler(), std::move(h));
}
