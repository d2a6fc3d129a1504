#include "board/cell_layout.h"

namespace board {

QRect CellRect(int column, int row) {
    return QRect(column * kCellPitch, row * kCellPitch, kCellSize, kCellSize);
}

QPoint CellAt(QPoint point) {
    if (point.x() < 0 || point.y() < 0) {
        return {-1, -1};
    }
    int column = point.x() / kCellPitch;
    int row = point.y() / kCellPitch;
    if (column >= kCellCount || row >= kCellCount || point.x() % kCellPitch == kCellSize ||
        point.y() % kCellPitch == kCellSize) {
        return {-1, -1};
    }
    return {column, row};
}

int FillKey(int column, int row) {
    bool evenBox = (column / 3 + row / 3) % 2 == 0;
    bool evenCell = (column % 3 + row % 3) % 2 == 0;
    if (evenBox) {
        return evenCell ? 1 : 2;
    }
    return evenCell ? 4 : 3;
}

QPoint TextOrigin(const QRect& inner, const QString& text) {
    return {inner.left() + (text == QStringLiteral("1") ? 16 : 10), inner.top() + 5};
}

bool HasTopBoxLine(int row) {
    return row % 3 == 0 && row != 0;
}

bool HasLeftBoxLine(int column) {
    return column % 3 == 0 && column != 0;
}

}  // namespace board
