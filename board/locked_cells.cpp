#include "board/locked_cells.h"

namespace board {

QString CellKey(int column, int row) {
    return QString::number(column) + u',' + QString::number(row);
}

}  // namespace board
