#include "sudoku/grader.h"

#include <algorithm>
#include <bit>

namespace sudoku {

namespace {

// A set of digits (bit d - 1 for digit d) or of the nine places of a house (bit i for its
// i-th cell).
using Mask = std::uint16_t;
constexpr Mask kAllDigits = 0x1ff;

Mask Bit(int index) {
    return static_cast<Mask>(1u << index);
}

// Bits set in a mask, from a table: without a popcount instruction in the target's
// baseline, std::popcount is a library call, and the grader counts bits in its inner loops.
constexpr std::array<std::uint8_t, 512> kBitCounts = [] {
    std::array<std::uint8_t, 512> counts{};
    for (int mask = 1; mask < 512; ++mask) {
        counts[mask] = static_cast<std::uint8_t>(counts[mask >> 1] + (mask & 1));
    }
    return counts;
}();

int BitCount(Mask mask) {
    return kBitCounts[mask];
}

// Houses 0-8 are the rows, 9-17 the columns, 18-26 the boxes. A house lists its cells in
// reading order, so place i of a row is column i, place i of a column is row i, and place
// i of a box is row i / 3, column i % 3 within the box.
constexpr int kHouseCount = 27;
constexpr int kPeerCount = 20;

struct Geometry {
    std::array<std::array<std::uint8_t, kSize>, kHouseCount> houseCells{};
    std::array<std::array<std::uint8_t, 3>, kCellCount> cellHouses{};
    std::array<std::array<std::uint8_t, kPeerCount>, kCellCount> peers{};
};

constexpr Geometry MakeGeometry() {
    Geometry g;
    for (int cell = 0; cell < kCellCount; ++cell) {
        int row = cell / kSize, column = cell % kSize, box = row / 3 * 3 + column / 3;
        int inBox = row % 3 * 3 + column % 3;
        g.houseCells[row][column] = static_cast<std::uint8_t>(cell);
        g.houseCells[kSize + column][row] = static_cast<std::uint8_t>(cell);
        g.houseCells[2 * kSize + box][inBox] = static_cast<std::uint8_t>(cell);
        g.cellHouses[cell] = {static_cast<std::uint8_t>(row),
                              static_cast<std::uint8_t>(kSize + column),
                              static_cast<std::uint8_t>(2 * kSize + box)};
        int n = 0;
        for (int other = 0; other < kCellCount; ++other) {
            int r = other / kSize, c = other % kSize;
            bool sameBox = r / 3 == row / 3 && c / 3 == column / 3;
            if (other != cell && (r == row || c == column || sameBox)) {
                g.peers[cell][n++] = static_cast<std::uint8_t>(other);
            }
        }
    }
    return g;
}

constexpr Geometry kGeometry = MakeGeometry();

bool Sees(int a, int b) {
    int ra = a / kSize, ca = a % kSize, rb = b / kSize, cb = b % kSize;
    return a != b && (ra == rb || ca == cb || (ra / 3 == rb / 3 && ca / 3 == cb / 3));
}

// Looks among nine items (sets of up to 9 bits) for n of them (2 or 3) that together hold
// exactly n bits, and calls act(chosen, together) for each such choice, chosen having bit
// i for items[i], until act returns true. Items with fewer than 2 or more than n bits never
// take part: one bit is a single, found earlier.
template <typename Act>
bool FindSubset(const std::array<Mask, kSize>& items, int n, Act act) {
    std::array<bool, kSize> usable{};
    for (int i = 0; i < kSize; ++i) {
        int bits = BitCount(items[i]);
        usable[i] = bits >= 2 && bits <= n;
    }
    for (int a = 0; a < kSize; ++a) {
        if (!usable[a]) {
            continue;
        }
        for (int b = a + 1; b < kSize; ++b) {
            if (!usable[b]) {
                continue;
            }
            Mask ab = items[a] | items[b];
            if (BitCount(ab) > n) {
                continue;
            }
            if (n == 2) {
                if (act(static_cast<Mask>(Bit(a) | Bit(b)), ab)) {
                    return true;
                }
                continue;
            }
            for (int c = b + 1; c < kSize; ++c) {
                if (!usable[c]) {
                    continue;
                }
                Mask abc = ab | items[c];
                if (BitCount(abc) == 3 && act(static_cast<Mask>(Bit(a) | Bit(b) | Bit(c)), abc)) {
                    return true;
                }
            }
        }
    }
    return false;
}

// The pencil marks of a puzzle being solved: the digits placed and, for every empty cell,
// the digits still possible there. A contradiction (an empty cell without candidates, a
// digit with no place in a house, givens breaking a rule) marks the board broken.
class CandidateBoard {
public:
    explicit CandidateBoard(const Grid& puzzle) {
        candidates_.fill(kAllDigits);
        for (int cell = 0; cell < kCellCount && !broken_; ++cell) {
            int digit = puzzle.cells[cell];
            if (digit == 0) {
                continue;
            }
            if (digit > 9 || (candidates_[cell] & Bit(digit - 1)) == 0) {
                broken_ = true;
            } else {
                Place(cell, digit);
            }
        }
    }

    bool Broken() const { return broken_; }
    bool Solved() const { return empty_ == 0 && !broken_; }
    const Grid& Digits() const { return grid_; }

    // Applies technique where it makes progress and says how much: digits placed for the
    // singles (all the board offers in one sweep), 1 for the first other pattern that
    // removed candidates, 0 when the technique finds nothing.
    int Apply(Technique technique) {
        switch (technique) {
            case Technique::NakedSingle:
                return NakedSingles();
            case Technique::HiddenSingle:
                return HiddenSingles();
            case Technique::LockedCandidates:
                return LockedCandidates();
            case Technique::NakedPair:
                return NakedSubset(2);
            case Technique::HiddenPair:
                return HiddenSubset(2);
            case Technique::NakedTriple:
                return NakedSubset(3);
            case Technique::HiddenTriple:
                return HiddenSubset(3);
            case Technique::XWing:
                return Fish(2);
            case Technique::Swordfish:
                return Fish(3);
            case Technique::XYWing:
                return XYWing();
            case Technique::Trial:
                break;
        }
        return 0;
    }

private:
    // positions[house][digit - 1]: the places of the house where the digit is a candidate.
    using PositionTable = std::array<std::array<Mask, kSize>, kHouseCount>;

    void Place(int cell, int digit) {
        Mask bit = Bit(digit - 1);
        grid_.cells[cell] = static_cast<std::uint8_t>(digit);
        candidates_[cell] = 0;
        --empty_;
        positionsCurrent_ = false;
        for (int house : kGeometry.cellHouses[cell]) {
            placed_[house] |= bit;
        }
        for (int peer : kGeometry.peers[cell]) {
            if (candidates_[peer] & bit) {
                candidates_[peer] &= static_cast<Mask>(~bit);
                broken_ = broken_ || candidates_[peer] == 0;
            }
        }
    }

    // Removes digits from the candidates of an empty cell; whether any was there.
    bool Eliminate(int cell, Mask digits) {
        if ((candidates_[cell] & digits) == 0) {
            return false;
        }
        candidates_[cell] &= static_cast<Mask>(~digits);
        positionsCurrent_ = false;
        broken_ = broken_ || candidates_[cell] == 0;
        return true;
    }

    // Kept until the candidates change: a round that finds nothing asks several times.
    const PositionTable& Positions() {
        if (!positionsCurrent_) {
            positions_ = PositionTable{};
            for (int house = 0; house < kHouseCount; ++house) {
                for (int place = 0; place < kSize; ++place) {
                    Mask digits = candidates_[kGeometry.houseCells[house][place]];
                    for (; digits != 0; digits &= digits - 1) {
                        positions_[house][std::countr_zero(digits)] |= Bit(place);
                    }
                }
            }
            positionsCurrent_ = true;
        }
        return positions_;
    }

    int NakedSingles() {
        int placed = 0;
        for (int cell = 0; cell < kCellCount && !broken_; ++cell) {
            Mask digits = candidates_[cell];
            if (grid_.cells[cell] == 0 && BitCount(digits) == 1) {
                Place(cell, std::countr_zero(digits) + 1);
                ++placed;
            }
        }
        return placed;
    }

    int HiddenSingles() {
        int placed = 0;
        for (int house = 0; house < kHouseCount && !broken_; ++house) {
            const auto& cells = kGeometry.houseCells[house];
            Mask once = 0, twice = 0;
            for (int cell : cells) {
                twice |= once & candidates_[cell];
                once |= candidates_[cell];
            }
            if ((once | placed_[house]) != kAllDigits) {
                broken_ = true;
                break;
            }
            for (Mask lone = once & static_cast<Mask>(~twice); lone != 0; lone &= lone - 1) {
                Mask bit = static_cast<Mask>(lone & -lone);
                // An earlier digit of this sweep may have taken the cell; the digit is then
                // left without a place, which the next sweep finds.
                auto cell = std::find_if(cells.begin(), cells.end(),
                                         [&](int c) { return (candidates_[c] & bit) != 0; });
                if (cell != cells.end()) {
                    Place(*cell, std::countr_zero(bit) + 1);
                    ++placed;
                }
            }
        }
        return placed;
    }

    // Pointing: a digit confined to one line within a box leaves the rest of that line.
    // Claiming: a digit confined to one box within a line leaves the rest of that box.
    int LockedCandidates() {
        static constexpr std::array<Mask, 3> kBoxRows = {0007, 0070, 0700};
        static constexpr std::array<Mask, 3> kBoxColumns = {0111, 0222, 0444};
        static constexpr std::array<Mask, 3> kLineSegments = {0007, 0070, 0700};
        const PositionTable& positions = Positions();
        for (int box = 0; box < kSize; ++box) {
            for (int digit = 0; digit < kSize; ++digit) {
                Mask places = positions[2 * kSize + box][digit];
                for (int k = 0; k < 3 && places != 0; ++k) {
                    if ((places & ~kBoxRows[k]) == 0 &&
                        ClearOutside(box / 3 * 3 + k, 2 * kSize + box, digit)) {
                        return 1;
                    }
                    if ((places & ~kBoxColumns[k]) == 0 &&
                        ClearOutside(kSize + box % 3 * 3 + k, 2 * kSize + box, digit)) {
                        return 1;
                    }
                }
            }
        }
        for (int line = 0; line < 2 * kSize; ++line) {
            for (int digit = 0; digit < kSize; ++digit) {
                Mask places = positions[line][digit];
                for (int k = 0; k < 3 && places != 0; ++k) {
                    if ((places & ~kLineSegments[k]) == 0) {
                        int index = line % kSize;
                        int box = line < kSize ? index / 3 * 3 + k : k * 3 + index / 3;
                        if (ClearOutside(2 * kSize + box, line, digit)) {
                            return 1;
                        }
                    }
                }
            }
        }
        return 0;
    }

    // Removes digit (0-8) from the cells of house that are not in keep; whether any went.
    bool ClearOutside(int house, int keep, int digit) {
        bool removed = false;
        for (int cell : kGeometry.houseCells[house]) {
            const auto& houses = kGeometry.cellHouses[cell];
            if (std::find(houses.begin(), houses.end(), keep) == houses.end()) {
                removed = Eliminate(cell, Bit(digit)) || removed;
            }
        }
        return removed;
    }

    // n cells of a house holding only n digits between them: those digits leave the
    // house's other cells.
    int NakedSubset(int n) {
        for (int house = 0; house < kHouseCount; ++house) {
            const auto& cells = kGeometry.houseCells[house];
            std::array<Mask, kSize> items{};
            for (int place = 0; place < kSize; ++place) {
                items[place] = candidates_[cells[place]];
            }
            bool found = FindSubset(items, n, [&](Mask chosen, Mask digits) {
                bool removed = false;
                for (int place = 0; place < kSize; ++place) {
                    if ((chosen & Bit(place)) == 0) {
                        removed = Eliminate(cells[place], digits) || removed;
                    }
                }
                return removed;
            });
            if (found) {
                return 1;
            }
        }
        return 0;
    }

    // n digits of a house with only n places between them: those places keep only them.
    int HiddenSubset(int n) {
        const PositionTable& positions = Positions();
        for (int house = 0; house < kHouseCount; ++house) {
            const auto& cells = kGeometry.houseCells[house];
            bool found = FindSubset(positions[house], n, [&](Mask digits, Mask places) {
                bool removed = false;
                for (; places != 0; places &= places - 1) {
                    removed = Eliminate(cells[std::countr_zero(places)],
                                        static_cast<Mask>(kAllDigits & ~digits)) ||
                              removed;
                }
                return removed;
            });
            if (found) {
                return 1;
            }
        }
        return 0;
    }

    // X-Wing (n = 2) and Swordfish (n = 3): a digit whose places in n rows lie in only n
    // columns leaves those columns' other rows, and the same with rows and columns swapped.
    int Fish(int n) {
        const PositionTable& positions = Positions();
        for (int digit = 0; digit < kSize; ++digit) {
            for (bool byRows : {true, false}) {
                std::array<Mask, kSize> lines{};
                for (int i = 0; i < kSize; ++i) {
                    lines[i] = positions[(byRows ? 0 : kSize) + i][digit];
                }
                bool found = FindSubset(lines, n, [&](Mask chosen, Mask crossing) {
                    bool removed = false;
                    for (int line = 0; line < kSize; ++line) {
                        if (chosen & Bit(line)) {
                            continue;
                        }
                        for (Mask rest = crossing; rest != 0; rest &= rest - 1) {
                            int across = std::countr_zero(rest);
                            int cell = byRows ? line * kSize + across : across * kSize + line;
                            removed = Eliminate(cell, Bit(digit)) || removed;
                        }
                    }
                    return removed;
                });
                if (found) {
                    return 1;
                }
            }
        }
        return 0;
    }

    // A pivot {x, y} seeing pincers {x, z} and {y, z}: whichever the pivot holds, one
    // pincer is z, so z leaves every cell that sees both pincers.
    int XYWing() {
        for (int pivot = 0; pivot < kCellCount; ++pivot) {
            Mask xy = candidates_[pivot];
            if (BitCount(xy) != 2) {
                continue;
            }
            for (int first : kGeometry.peers[pivot]) {
                Mask xz = candidates_[first];
                if (BitCount(xz) != 2 || BitCount(static_cast<Mask>(xz & xy)) != 1) {
                    continue;
                }
                Mask z = xz & static_cast<Mask>(~xy);
                Mask yz = static_cast<Mask>((xy & ~xz) | z);
                for (int second : kGeometry.peers[pivot]) {
                    if (candidates_[second] != yz) {
                        continue;
                    }
                    bool removed = false;
                    for (int cell : kGeometry.peers[first]) {
                        if (Sees(cell, second)) {
                            removed = Eliminate(cell, z) || removed;
                        }
                    }
                    if (removed) {
                        return 1;
                    }
                }
            }
        }
        return 0;
    }

    Grid grid_;
    std::array<Mask, kCellCount> candidates_{};
    std::array<Mask, kHouseCount> placed_{};
    PositionTable positions_{};
    bool positionsCurrent_ = false;
    int empty_ = kCellCount;
    bool broken_ = false;
};

}  // namespace

std::string_view TechniqueName(Technique technique) {
    static constexpr std::array<std::string_view, kTechniqueCount> kNames = {
        "naked single",  "hidden single", "locked candidates",
        "naked pair",    "hidden pair",   "naked triple",
        "hidden triple", "x-wing",        "swordfish",
        "xy-wing",       "trial",
    };
    return kNames[static_cast<int>(technique)];
}

Grade GradePuzzle(const Grid& puzzle, Technique ceiling) {
    Grade grade;
    CandidateBoard board(puzzle);
    int last = std::min(static_cast<int>(ceiling), static_cast<int>(Technique::XYWing));
    int hardest = 0;
    while (!board.Solved() && !board.Broken()) {
        int technique = 0;
        int used = 0;
        while (technique <= last && (used = board.Apply(static_cast<Technique>(technique))) == 0) {
            ++technique;
        }
        if (used == 0) {
            break;
        }
        grade.uses[technique] += used;
        hardest = std::max(hardest, technique);
    }
    grade.hardest = board.Solved() ? static_cast<Technique>(hardest) : Technique::Trial;
    grade.grid = board.Digits();
    return grade;
}

}  // namespace sudoku
