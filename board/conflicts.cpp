#include "board/conflicts.h"

namespace board {

bool ArePeers(int column, int row, int otherColumn, int otherRow) {
    return column == otherColumn || row == otherRow ||
           (column / 3 == otherColumn / 3 && row / 3 == otherRow / 3);
}

ConflictMap FindConflicts(const BoardCellTexts& cells) {
    ConflictMap marked{};
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            const QString& digit = cells[row][column];
            if (digit.isEmpty()) {
                continue;
            }
            for (int other = 0; other < 9 * 9 && !marked[row][column]; ++other) {
                const int otherRow = other / 9;
                const int otherColumn = other % 9;
                marked[row][column] = ArePeers(column, row, otherColumn, otherRow) &&
                                      other != row * 9 + column &&
                                      cells[otherRow][otherColumn] == digit;
            }
        }
    }
    return marked;
}

}  // namespace board
