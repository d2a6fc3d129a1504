#pragma once

#include <array>

#include "board/grid_text.h"

namespace board {

// Whether two cells share a row, a column or a box; a cell is its own peer.
bool ArePeers(int column, int row, int otherColumn, int otherRow);

// For each cell [row][column]: whether its digit stands again in its row, its column or its
// box. Every cell holding a repeated digit is marked, the first as much as the others; empty
// cells never are.
using ConflictMap = std::array<std::array<bool, 9>, 9>;
ConflictMap FindConflicts(const BoardCellTexts& cells);

}  // namespace board
