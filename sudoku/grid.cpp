#include "sudoku/grid.h"

namespace sudoku {

std::optional<Grid> ParseLine(std::string_view text) {
    if (text.size() < kCellCount) {
        return std::nullopt;
    }
    Grid grid;
    for (int i = 0; i < kCellCount; ++i) {
        char c = text[i];
        if (c >= '1' && c <= '9') {
            grid.cells[i] = static_cast<std::uint8_t>(c - '0');
        } else if (c != '.' && c != '0') {
            return std::nullopt;
        }
    }
    return grid;
}

std::string FormatLine(const Grid& grid, char blank) {
    std::string line(kCellCount, blank);
    for (int i = 0; i < kCellCount; ++i) {
        if (grid.cells[i] != 0) {
            line[i] = static_cast<char>('0' + grid.cells[i]);
        }
    }
    return line;
}

int FilledCount(const Grid& grid) {
    int filled = 0;
    for (std::uint8_t digit : grid.cells) {
        filled += digit != 0 ? 1 : 0;
    }
    return filled;
}

bool FollowsTheRules(const Grid& grid) {
    // One bit per digit already seen in each row, column and box.
    std::array<std::uint16_t, kSize> rows{}, columns{}, boxes{};
    for (int row = 0; row < kSize; ++row) {
        for (int column = 0; column < kSize; ++column) {
            std::uint8_t digit = grid.At(row, column);
            if (digit == 0) {
                continue;
            }
            if (digit > 9) {
                return false;
            }
            auto bit = static_cast<std::uint16_t>(1u << digit);
            int box = BoxOf(row, column);
            if ((rows[row] | columns[column] | boxes[box]) & bit) {
                return false;
            }
            rows[row] |= bit;
            columns[column] |= bit;
            boxes[box] |= bit;
        }
    }
    return true;
}

bool IsSolved(const Grid& grid) {
    return FilledCount(grid) == kCellCount && FollowsTheRules(grid);
}

bool Agrees(const Grid& puzzle, const Grid& other) {
    for (int i = 0; i < kCellCount; ++i) {
        if (puzzle.cells[i] != 0 && puzzle.cells[i] != other.cells[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace sudoku
