#pragma once

#include <Qt>

namespace board {

// What a key does on the board: write a digit into the selected cell, empty it, set or clear
// a pencil note, or nothing the board acts on (arrows and Tab are the view's own, shortcuts
// the window's).
struct BoardKey {
    enum class Action { None, Digit, Erase, Note };
    Action action = Action::None;
    int digit = 0;  // 1 to 9 for Action::Digit and Action::Note

    bool operator==(const BoardKey&) const = default;
};

// 1 to 9 on the main row or the keypad write that digit, and with Ctrl alone set or clear it as
// a note; 0, Space, Delete and Backspace empty the cell. Any other key with Ctrl, Alt or Meta
// held is a shortcut, never a cell's input.
BoardKey BoardKeyFor(int key, Qt::KeyboardModifiers modifiers);

}  // namespace board
