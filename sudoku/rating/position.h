#pragma once

#include <array>
#include <compare>
#include <cstdint>

#include "sudoku/grid.h"

namespace sudoku::rating {

// A set of digits: bit d - 1 stands for digit d (1 to 9).
using Digits = std::uint16_t;
inline constexpr Digits kAllDigits = 0x1ff;

inline constexpr Digits DigitBit(int digit) {
    return static_cast<Digits>(1u << (digit - 1));
}

// One pencil mark: digit (1 to 9) as a candidate of cell (0 to 80, row * 9 + column).
struct Candidate {
    std::uint8_t cell = 0;
    std::uint8_t digit = 0;

    auto operator<=>(const Candidate&) const = default;
};

// The 27 houses in the order the rater searches them, which decides the first pattern of a
// kind it meets: the boxes 0 to 8 (left to right, top to bottom), then the rows 0 to 8, then
// the columns 0 to 8. A box lists its cells row by row.
inline constexpr int kHouseCount = 27;
inline constexpr int kFirstRow = 9;
inline constexpr int kFirstColumn = 18;

const std::array<std::array<std::uint8_t, 9>, kHouseCount>& HouseCells();
// The 20 cells sharing a house with cell, in increasing order.
const std::array<std::array<std::uint8_t, 20>, kCellCount>& Peers();
// The box, row and column of cell, as house numbers.
inline int BoxHouse(int cell) {
    return BoxOf(cell / kSize, cell % kSize);
}
inline int RowHouse(int cell) {
    return kFirstRow + cell / kSize;
}
inline int ColumnHouse(int cell) {
    return kFirstColumn + cell % kSize;
}
bool ArePeers(int cell, int other);

// The grid as a person solving it sees it: the digits placed, and for each empty cell the
// candidates not yet ruled out. A filled cell has no candidates.
struct Position {
    std::array<std::uint8_t, kCellCount> digits{};
    std::array<Digits, kCellCount> candidates{};

    // The digits of grid, each empty cell with every digit its houses do not hold yet.
    static Position FromGrid(const Grid& grid);

    // Writes digit into cell and rules it out of the cell's peers.
    void Place(int cell, int digit);
    void Remove(int cell, int digit) { candidates[cell] &= static_cast<Digits>(~DigitBit(digit)); }
    bool Has(int cell, int digit) const { return (candidates[cell] & DigitBit(digit)) != 0; }
    bool Solved() const;
    Grid ToGrid() const;

    bool operator==(const Position&) const = default;
};

}  // namespace sudoku::rating
