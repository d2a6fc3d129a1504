#pragma once

#include <QIcon>

namespace toolkit {

// The pictures of the tool bar, the menu and the header buttons. They are drawn by the
// program itself, so they scale cleanly and need no image files.
enum class Icon {
    Load,
    Save,
    Print,
    Challenge,
    NewPuzzle,
    EmptyGrid,
    Lock,
    Hint,
    Eraser,
    Confirm,
    Close,
    About,
    Update,
    HeaderMenu,
    HeaderMinimize,
    HeaderClose,
};

QIcon MakeIcon(Icon icon);

// The pen picture of a digit button, 1 to 9.
QIcon MakeDigitIcon(int digit);

}  // namespace toolkit
