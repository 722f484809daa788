#include "TreeControlCodes.h"

int treeButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return TreeButton::Left;
    case Qt::RightButton:
        return TreeButton::Right;
    case Qt::MiddleButton:
        return TreeButton::Middle;
    default:
        return 0;
    }
}

int treeShiftOf(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= TreeShift::Shift;
    if (modifiers & Qt::ControlModifier)
        shift |= TreeShift::Ctrl;
    if (modifiers & Qt::AltModifier)
        shift |= TreeShift::Alt;
    return shift;
}

int treeKeyCodeOf(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return TreeKey::A + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return 48 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return TreeKey::F1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return TreeKey::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return TreeKey::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return TreeKey::Enter;
    case Qt::Key_Shift:
        return TreeKey::Shift;
    case Qt::Key_Control:
        return TreeKey::Control;
    case Qt::Key_Alt:
        return TreeKey::Alt;
    case Qt::Key_Escape:
        return TreeKey::Escape;
    case Qt::Key_Space:
        return TreeKey::Space;
    case Qt::Key_PageUp:
        return TreeKey::PageUp;
    case Qt::Key_PageDown:
        return TreeKey::PageDown;
    case Qt::Key_End:
        return TreeKey::End;
    case Qt::Key_Home:
        return TreeKey::Home;
    case Qt::Key_Left:
        return TreeKey::Left;
    case Qt::Key_Up:
        return TreeKey::Up;
    case Qt::Key_Right:
        return TreeKey::Right;
    case Qt::Key_Down:
        return TreeKey::Down;
    case Qt::Key_Insert:
        return TreeKey::Insert;
    case Qt::Key_Delete:
        return TreeKey::Delete;
    default:
        return 0;
    }
}
