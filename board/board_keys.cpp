#include "board/board_keys.h"

namespace board {

BoardKey BoardKeyFor(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return {};
    }
    if (key >= Qt::Key_1 && key <= Qt::Key_9) {
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
