#pragma once
// Every modal dialog is shown through ShowModal, so tests can fill a dialog's controls and
// press its real buttons instead of a person.
#include <functional>

class QDialog;

// Shows `dialog` modally and returns QDialog::exec()'s result.
int ShowModal(QDialog& dialog);

using ModalHandler = std::function<int(QDialog& dialog)>;
// Replaces how dialogs are shown (an empty handler restores exec()); returns the previous one.
ModalHandler setModalHandler(ModalHandler handler);
