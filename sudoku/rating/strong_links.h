#pragma once

#include "sudoku/rating/finder_support.h"

// Strong links as the scale reads them for its turbot fish, shared by the finders of two and
// three links; not part of the rater's interface.
namespace sudoku::rating::detail {

// Places (bit i for the house's cell i) of the empty rectangle's parts for a box whose heart is
// its cell e: the four cells off the heart's row and column, the heart's column and the heart's
// row without the heart. For a line, its three box segments: a segment that must be empty and
// the two others.
inline constexpr unsigned kBoxRectangle[9] = {0660, 0550, 0330, 0606, 0505, 0303, 0066, 0055, 0033};
inline constexpr unsigned kBoxColumnBlade[9] = {0110, 0220, 0440, 0101, 0202,
                                                0404, 0011, 0022, 0044};
inline constexpr unsigned kBoxRowBlade[9] = {0006, 0005, 0003, 0060, 0050, 0030, 0600, 0500, 0300};
inline constexpr unsigned kLineEmpty[3] = {0007, 0070, 0700};
inline constexpr unsigned kLineBlade1[3] = {0070, 0007, 0007};
inline constexpr unsigned kLineBlade2[3] = {0700, 0700, 0070};

inline constexpr int kNone = -1;

// One end of a strong link: a cell, or a group of up to three cells in one house (main first,
// then its supports; for a box's group on the heart's row or column the main cell is the
// heart, which need not hold the digit).
struct End {
    int cells[3] = {kNone, kNone, kNone};
};

// A strong link on a digit in a house: one of its two ends holds the digit.
struct StrongLink {
    End ends[2];
};

inline bool Same(int kind, int a, int b) {
    return kind == 0   ? a % kSize == b % kSize
           : kind == 1 ? a / kSize == b / kSize
                       : BoxHouse(a) == BoxHouse(b);
}

// The house holding both ends whole, columns tried first, then rows, then boxes; -1 for none.
inline int SharedHouse(const End& a, const End& b) {
    for (int kind = 0; kind < 3; ++kind) {
        const int main = a.cells[0];
        bool same = Same(kind, main, b.cells[0]);
        for (const End* end : {&a, &b}) {
            for (int i = 1; i < 3 && same && end->cells[i] != kNone; ++i) {
                same = Same(kind, main, end->cells[i]);
            }
        }
        if (same) {
            return kind == 0 ? ColumnHouse(main) : kind == 1 ? RowHouse(main) : BoxHouse(main);
        }
    }
    return -1;
}

// The strong links the scale reads in house for digit: two places, or (three to six places,
// five in a box) places filling two parts of an empty rectangle or two segments of a line.
// grouped tells the second kind.
inline int LinksOf(const Position& position, int house, int digit, StrongLink* links,
                   bool& grouped) {
    const bool box = house < kFirstRow;
    const unsigned places = Places(position, house, digit);
    const int count = Count(places);
    const auto& cells = HouseCells()[house];
    grouped = false;
    if (count < 2 || count > 6 || (box && count > 5)) {
        return 0;
    }
    const auto cellsOf = [&](unsigned bits, End& end, int from) {
        for (int p = 0; p < kSize && from < 3; ++p) {
            if (bits & (1u << p)) {
                end.cells[from++] = cells[p];
            }
        }
    };
    if (count == 2) {
        cellsOf(places & (~places + 1), links[0].ends[0], 0);
        cellsOf(places & (places - 1), links[0].ends[1], 0);
        return 1;
    }
    unsigned blade1 = 0;
    unsigned blade2 = 0;
    int heart = -1;
    for (int e = 0; e < (box ? 9 : 3); ++e) {
        if (places & (box ? kBoxRectangle[e] : kLineEmpty[e])) {
            continue;
        }
        blade1 = places & (box ? kBoxColumnBlade[e] : kLineBlade1[e]);
        blade2 = places & (box ? kBoxRowBlade[e] : kLineBlade2[e]);
        heart = e;
        break;
    }
    if (heart < 0 || blade1 == 0 || blade2 == 0) {
        return 0;
    }
    grouped = true;
    if (Count(blade1) > 1 && Count(blade2) > 1) {
        cellsOf(blade1, links[0].ends[0], 0);
        cellsOf(blade2, links[0].ends[1], 0);
        return 1;
    }
    // One blade is a single cell: the other blade is the group, led in a box by the heart.
    int count_links = 0;
    for (const auto& [single, group] : {std::pair{blade1, blade2}, std::pair{blade2, blade1}}) {
        if (Count(single) != 1) {
            continue;
        }
        StrongLink& link = links[count_links++];
        cellsOf(single, link.ends[0], 0);
        if (box) {
            link.ends[1].cells[0] = cells[heart];
            cellsOf(group, link.ends[1], 1);
        } else {
            cellsOf(group, link.ends[1], 0);
        }
    }
    return count_links;
}

}  // namespace sudoku::rating::detail
