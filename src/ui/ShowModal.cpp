#include "ShowModal.h"

#include "CommandBoundary.h"

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
    const NestedFailures nested;
    const int result = handler() ? handler()(dialog) : dialog.exec();
    nested.rethrow();
    return result;
}

ModalHandler setModalHandler(ModalHandler h) {
    return std::exchange(handler(), std::move(h));
}

void ShowPopupMenu(QMenu& menu, const QPoint& pos) {
    const NestedFailures nested;
    if (popupHandler())
        popupHandler()(menu, pos);
    else
        menu.exec(pos);
    nested.rethrow();
}

PopupHandler setPopupHandler(PopupHandler h) {
    return std::exchange(popupHandler(), std::move(h));
}
