#include "sudoku/rating/position.h"

#include <algorithm>

#include "sudoku/rating/finder_support.h"

namespace sudoku::rating {

namespace {

std::array<std::array<std::uint8_t, 9>, kHouseCount> MakeHouses() {
    std::array<std::array<std::uint8_t, 9>, kHouseCount> houses{};
    for (int i = 0; i < kSize; ++i) {
        for (int j = 0; j < kSize; ++j) {
            const int boxRow = i / 3 * 3 + j / 3;
            const int boxColumn = i % 3 * 3 + j % 3;
            houses[i][j] = static_cast<std::uint8_t>(boxRow * kSize + boxColumn);
            houses[kFirstRow + i][j] = static_cast<std::uint8_t>(i * kSize + j);
            houses[kFirstColumn + i][j] = static_cast<std::uint8_t>(j * kSize + i);
        }
    }
    return houses;
}

std::array<std::array<std::uint8_t, 20>, kCellCount> MakePeers() {
    std::array<std::array<std::uint8_t, 20>, kCellCount> peers{};
    for (int cell = 0; cell < kCellCount; ++cell) {
        int count = 0;
        for (int other = 0; other < kCellCount; ++other) {
            if (other != cell && ArePeers(cell, other)) {
                peers[cell][count++] = static_cast<std::uint8_t>(other);
            }
        }
    }
    return peers;
}

}  // namespace

const std::array<std::array<std::uint8_t, 9>, kHouseCount>& HouseCells() {
    static const auto houses = MakeHouses();
    return houses;
}

const std::array<std::array<std::uint8_t, 20>, kCellCount>& Peers() {
    static const auto peers = MakePeers();
    return peers;
}

namespace detail {

const int kBoxColumnRowOrder[kHouseCount] = {0,  1,  2,  3,  4, 5,  6,  7,  8,  18, 19, 20, 21, 22,
                                             23, 24, 25, 26, 9, 10, 11, 12, 13, 14, 15, 16, 17};

const CellSet& HouseSet(int house) {
    static const auto sets = [] {
        std::array<CellSet, kHouseCount> result{};
        for (int h = 0; h < kHouseCount; ++h) {
            for (std::uint8_t cell : HouseCells()[h]) {
                result[h].Add(cell);
            }
        }
        return result;
    }();
    return sets[house];
}

const CellSet& PeerSet(int cell) {
    static const auto sets = [] {
        std::array<CellSet, kCellCount> result{};
        for (int c = 0; c < kCellCount; ++c) {
            for (std::uint8_t peer : Peers()[c]) {
                result[c].Add(peer);
            }
        }
        return result;
    }();
    return sets[cell];
}

}  // namespace detail

bool ArePeers(int cell, int other) {
    return cell / kSize == other / kSize || cell % kSize == other % kSize ||
           BoxHouse(cell) == BoxHouse(other);
}

Position Position::FromGrid(const Grid& grid) {
    Position position;
    position.candidates.fill(kAllDigits);
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (grid.cells[cell] != 0) {
            position.Place(cell, grid.cells[cell]);
        }
    }
    return position;
}

void Position::Place(int cell, int digit) {
    digits[cell] = static_cast<std::uint8_t>(digit);
    candidates[cell] = 0;
    for (std::uint8_t peer : Peers()[cell]) {
        Remove(peer, digit);
    }
}

bool Position::Solved() const {
    return std::none_of(digits.begin(), digits.end(), [](std::uint8_t d) { return d == 0; });
}

Grid Position::ToGrid() const {
    Grid grid;
    grid.cells = digits;
    return grid;
}

}  // namespace sudoku::rating
