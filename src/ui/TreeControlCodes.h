#pragma once
// The small integers the tree notifications pass for mouse buttons, shift states, key codes and
// drag states, so that handlers compare them with the numbers the program's logic is written in.
#include <Qt>

namespace TreeButton {
enum : int { Left = 1, Right = 2, Middle = 4 };
}

namespace TreeShift {
enum : int { Shift = 1, Ctrl = 2, Alt = 4 };
}

namespace TreeKey {
enum : int {
    Back = 8,
    Tab = 9,
    Enter = 13,
    Shift = 16,
    Control = 17,
    Alt = 18,
    Escape = 27,
    Space = 32,
    PageUp = 33,
    PageDown = 34,
    End = 35,
    Home = 36,
    Left = 37,
    Up = 38,
    Right = 39,
    Down = 40,
    Insert = 45,
    Delete = 46,
    A = 65,
    Z = 90,
    F1 = 112,
    F2 = 113,
    F12 = 123
};
}

// Where the pointer is in a drag-over notification.
namespace TreeDragState {
enum : int { Enter = 0, Leave = 1, Over = 2 };
}

int treeButtonOf(Qt::MouseButton button);
int treeShiftOf(Qt::KeyboardModifiers modifiers);
// The key code of a Qt key: letters as upper case, digits, function and editing keys; 0 for
// keys the program never looks at.
int treeKeyCodeOf(int qtKey);
