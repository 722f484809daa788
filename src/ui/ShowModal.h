#pragma once
// Every modal dialog is shown through ShowModal, so tests can fill a dialog's controls and
// press its real buttons instead of a person.
#include <functional>

class QDialog;
class QMenu;
class QPoint;

// Shows `dialog` modally and returns QDialog::exec()'s result. A data command that failed while
// it was open goes on unwinding from here (CommandFailed).
int ShowModal(QDialog& dialog);

using ModalHandler = std::function<int(QDialog& dialog)>;
// Replaces how dialogs are shown (an empty handler restores exec()); returns the previous one.
ModalHandler setModalHandler(ModalHandler handler);

// Shows a popup menu at `pos` and waits until it closes (a chosen command has run by then). A
// chosen command that failed goes on unwinding from here (CommandFailed).
void ShowPopupMenu(QMenu& menu, const QPoint& pos);

using PopupHandler = std::function<void(QMenu& menu, const QPoint& pos)>;
PopupHandler setPopupHandler(PopupHandler handler);
