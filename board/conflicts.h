#pragma once

#include <array>

#include "board/grid_text.h"

namespace board {

// For each cell [row][column]: whether its digit stands again in its row, its column or its
// box. Every cell holding a repeated digit is marked, the first as much as the others; empty
// cells never are.
using ConflictMap = std::array<std::array<bool, 9>, 9>;
ConflictMap FindConflicts(const BoardCellTexts& cells);

}  // namespace board
