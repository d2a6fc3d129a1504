#pragma once

// Constant tables of the band solver (sudoku/solver.cpp), built at compile time.
//
// The solver keeps, for every digit and every band (three rows), a 27-bit mask of the cells
// of that band where the digit may still stand. A band's cells, one bit each, row by row:
//
//              stack 0    stack 1    stack 2
//     row 0:   0  1  2 |  3  4  5 |  6  7  8
//     row 1:   9 10 11 | 12 13 14 | 15 16 17
//     row 2:  18 19 20 | 21 22 23 | 24 25 26
//
// The band's cell p is the grid's cell 27 * band + p. A triad is the three cells where a row
// meets a box (bits 0-2, 3-5, ... 24-26); a column of the band is bits c, c + 9, c + 18.

#include <array>
#include <cstdint>

namespace sudoku::solver_tables {

inline constexpr std::uint32_t kBandCells = 0x7ffffff;
inline constexpr std::uint32_t kRowCells = 0x1ff;
// Column 0 of a band; shift left by c for column c.
inline constexpr std::uint32_t kColumnCells = 0x40201;

// For the nine bits of one row, bit k set when its triad k (stack k) holds a bit.
inline constexpr std::array<std::uint8_t, 512> kTriadsOfRow = [] {
    std::array<std::uint8_t, 512> table{};
    for (unsigned row = 0; row < 512; ++row) {
        for (unsigned k = 0; k < 3; ++k) {
            if ((row >> (3 * k)) & 7) {
                table[row] |= static_cast<std::uint8_t>(1u << k);
            }
        }
    }
    return table;
}();

// A digit stands once in each row of a band and once in each of its boxes, so the triads it
// takes form a permutation: row r in box pi(r). Indexed by the band's live triads as nine
// bits (bit 3r + k: row r has a candidate in box k), the cells of the triads that lie on at
// least one such permutation; 0 when no permutation fits. Applying it does the pointing and
// claiming inside the band, and places a digit whose box holds one cell in its row's only
// triad.
inline constexpr std::array<std::uint32_t, 512> kCellsOnPermutations = [] {
    constexpr int kPermutations[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2},
                                         {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    std::array<std::uint32_t, 512> table{};
    for (unsigned triads = 0; triads < 512; ++triads) {
        unsigned live = 0;
        for (const auto& permutation : kPermutations) {
            unsigned used = 0;
            for (int r = 0; r < 3; ++r) {
                used |= 1u << (3 * r + permutation[r]);
            }
            if ((triads & used) == used) {
                live |= used;
            }
        }
        for (unsigned r = 0; r < 3; ++r) {
            for (unsigned k = 0; k < 3; ++k) {
                if (live & (1u << (3 * r + k))) {
                    table[triads] |= 7u << (9 * r + 3 * k);
                }
            }
        }
    }
    return table;
}();

// For the nine bits of the columns a digit may take in a band, the columns that are the only
// one of their stack: the digit's cell in that box lies in that column, so the column is
// closed to the digit in the other two bands.
inline constexpr std::array<std::uint16_t, 512> kLoneColumns = [] {
    std::array<std::uint16_t, 512> table{};
    for (unsigned columns = 0; columns < 512; ++columns) {
        for (unsigned s = 0; s < 3; ++s) {
            unsigned stack = (columns >> (3 * s)) & 7;
            if (stack != 0 && (stack & (stack - 1)) == 0) {
                table[columns] |= static_cast<std::uint16_t>(stack << (3 * s));
            }
        }
    }
    return table;
}();

// For the nine bits of one row, the row itself when it holds exactly one bit, else 0.
inline constexpr std::array<std::uint16_t, 512> kLoneCell = [] {
    std::array<std::uint16_t, 512> table{};
    for (unsigned row = 1; row < 512; ++row) {
        if ((row & (row - 1)) == 0) {
            table[row] = static_cast<std::uint16_t>(row);
        }
    }
    return table;
}();

// For a band cell p, the band mask without the other cells of its row and its box: what a
// digit placed at p keeps of its band.
inline constexpr std::array<std::uint32_t, 27> kKeepWhenPlaced = [] {
    std::array<std::uint32_t, 27> table{};
    for (unsigned p = 0; p < 27; ++p) {
        unsigned row = p / 9, stack = p % 9 / 3;
        std::uint32_t peers = kRowCells << (9 * row);
        for (unsigned r = 0; r < 3; ++r) {
            peers |= 7u << (9 * r + 3 * stack);
        }
        table[p] = (kBandCells & ~peers) | (1u << p);
    }
    return table;
}();

}  // namespace sudoku::solver_tables
