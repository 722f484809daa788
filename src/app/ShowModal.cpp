#include "ShowModal.h"

#include <QDialog>
#include <utility>

namespace {
ModalHandler& handler() {
    static ModalHandler h;
    return h;
}
} // namespace

int ShowModal(QDialog& dialog) { return handler() ? handler()(dialog) : dialog.exec(); }

ModalHandler setModalHandler(ModalHandler h) { return std::exchange(handler(), std::move(h)); }
