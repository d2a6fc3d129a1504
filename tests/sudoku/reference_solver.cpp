#include "tests/sudoku/reference_solver.h"

namespace testing_support {

namespace {

bool Fits(const sudoku::Grid& grid, int cell, int digit) {
    int row = cell / 9;
    int column = cell % 9;
    for (int i = 0; i < 9; ++i) {
        if (grid.At(row, i) == digit || grid.At(i, column) == digit) {
            return false;
        }
    }
    int top = row / 3 * 3;
    int left = column / 3 * 3;
    for (int r = top; r < top + 3; ++r) {
        for (int c = left; c < left + 3; ++c) {
            if (grid.At(r, c) == digit) {
                return false;
            }
        }
    }
    return true;
}

// Fills the empty cell with the fewest fitting digits first, which keeps this simple search
// quick enough for the puzzles tests give it.
void Count(sudoku::Grid& grid, int limit, int& found) {
    int bestCell = -1;
    int bestOptions = 10;
    for (int cell = 0; cell < 81 && bestOptions > 1; ++cell) {
        if (grid.cells[cell] != 0) {
            continue;
        }
        int options = 0;
        for (int digit = 1; digit <= 9; ++digit) {
            options += Fits(grid, cell, digit) ? 1 : 0;
        }
        if (options < bestOptions) {
            bestOptions = options;
            bestCell = cell;
        }
    }
    if (bestCell < 0) {
        ++found;
        return;
    }
    for (int digit = 1; digit <= 9 && found < limit; ++digit) {
        if (Fits(grid, bestCell, digit)) {
            grid.cells[bestCell] = static_cast<std::uint8_t>(digit);
            Count(grid, limit, found);
            grid.cells[bestCell] = 0;
        }
    }
}

}  // namespace

int ReferenceCountSolutions(const sudoku::Grid& puzzle, int limit) {
    if (!sudoku::FollowsTheRules(puzzle)) {
        return 0;
    }
    sudoku::Grid grid = puzzle;
    int found = 0;
    Count(grid, limit, found);
    return found;
}

}  // namespace testing_support
