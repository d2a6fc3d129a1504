#pragma once

#include <QPixmap>

namespace help {

// The about box's pictures, drawn by the program: a board with a quill (152 x 177) and the
// program's name as a logo (165 x 33).
QPixmap ProgramPicture();
QPixmap NamePicture();

}  // namespace help
