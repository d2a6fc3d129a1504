#pragma once

#include <Qt>

namespace board {

// What a key does on the board: write a digit into the selected cell, empty it, or nothing
// the board acts on (arrows and Tab are the view's own, shortcuts the window's).
struct BoardKey {
    enum class Action { None, Digit, Erase };
    Action action = Action::None;
    int digit = 0;  // 1 to 9 for Action::Digit

    bool operator==(const BoardKey&) const = default;
};

// 1 to 9 on the main row or the keypad write that digit; 0, Space, Delete and Backspace empty
// the cell. With Ctrl, Alt or Meta held a key is a shortcut, never a cell's input.
BoardKey BoardKeyFor(int key, Qt::KeyboardModifiers modifiers);

}  // namespace board
