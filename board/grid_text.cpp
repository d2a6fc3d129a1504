#include "board/grid_text.h"

namespace board {

int GridTextOffset(int column, int row) {
    return 20 * row + 2 * column;
}

QString EmptyGridText() {
    return QStringLiteral("0 0 0 0 0 0 0 0 0 \r\n").repeated(9);
}

}  // namespace board
