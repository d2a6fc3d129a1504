#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sudoku {

inline constexpr int kSize = 9;
inline constexpr int kCellCount = 81;

// A 9 x 9 grid: 0 for an empty cell, 1 to 9 for a digit. Cell (row, column) is at index
// row * 9 + column, rows and columns 0 to 8 from the top left.
struct Grid {
    std::array<std::uint8_t, kCellCount> cells{};

    std::uint8_t At(int row, int column) const { return cells[row * kSize + column]; }
    void Set(int row, int column, std::uint8_t digit) { cells[row * kSize + column] = digit; }

    bool operator==(const Grid&) const = default;
};

// The first 81 characters of text, row by row: "1"-"9" a digit, "." or "0" an empty cell.
// Nothing for a shorter text or any other character among the 81.
std::optional<Grid> ParseLine(std::string_view text);

// 81 characters, row by row, with blank for an empty cell.
std::string FormatLine(const Grid& grid, char blank = '.');

int FilledCount(const Grid& grid);

// True when every cell holds 0 to 9 and no digit stands twice in a row, a column or a box;
// false otherwise. Empty cells break nothing, so a grid that follows the rules may still have
// no solution: that takes the solver.
bool FollowsTheRules(const Grid& grid);

// Every cell filled and no rule broken: a solved grid.
bool IsSolved(const Grid& grid);

// Every digit of puzzle stands in the same cell of other.
bool Agrees(const Grid& puzzle, const Grid& other);

// The box (0 to 8, left to right, top to bottom) of a cell.
inline int BoxOf(int row, int column) {
    return row / 3 * 3 + column / 3;
}

}  // namespace sudoku
