#include "board/board_keys.h"

namespace board {

BoardKey BoardKeyFor(int key, Qt::KeyboardModifiers modifiers) {
    const bool digit = key >= Qt::Key_1 && key <= Qt::Key_9;
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    if (digit && held == Qt::ControlModifier) {
        return {BoardKey::Action::Note, key - Qt::Key_0};
    }
    if (held & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return {};
    }
    if (digit) {
        return {BoardKey::Action::Digit, key - Qt::Key_0};
    }
    switch (key) {
        case Qt::Key_0:
        case Qt::Key_Space:
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            return {BoardKey::Action::Erase, 0};
        default:
            return {};
    }
}

}  // namespace board
