#include "sudoku/solver.h"

#include <array>
#include <bit>
#include <cstdint>
#include <utility>

#include "sudoku/solver_tables.h"

namespace sudoku {

namespace {

using namespace solver_tables;

// The candidates of a grid being solved: for band b (0 to 2) and digit d (0 to 8), the
// 27-bit mask candidates_[9 * b + d] of the band's cells where digit d + 1 may stand (layout
// in solver_tables.h). A placed digit keeps its own cell's bit; every other digit loses it.
//
//     candidates_:  [ band 0: digits 0..8 | band 1: digits 0..8 | band 2: digits 0..8 ]
class Board {
public:
    // Places the givens. False when two of them break a rule or a cell holds more than 9.
    bool Load(const Grid& puzzle) {
        candidates_.fill(kBandCells);
        // Differs from every 27-bit mask, so every band is examined once.
        examined_.fill(~0u);
        unsolved_.fill(kBandCells);
        for (int cell = 0; cell < kCellCount; ++cell) {
            int digit = puzzle.cells[cell];
            if (digit == 0) {
                continue;
            }
            if (digit > kSize) {
                return false;
            }
            int d = digit - 1, band = cell / 27, p = cell % 27;
            std::uint32_t bit = 1u << p;
            // A given before this one on the same row, column or box took the bit away.
            if (!(candidates_[9 * band + d] & bit)) {
                return false;
            }
            for (int other = 0; other < kSize; ++other) {
                candidates_[9 * band + other] &= ~bit;
            }
            std::uint32_t column = kColumnCells << (p % 9);
            for (int b = 0; b < 3; ++b) {
                candidates_[9 * b + d] &= ~column;
            }
            candidates_[9 * band + d] |= bit;
            candidates_[9 * band + d] &= kKeepWhenPlaced[p];
            unsolved_[band] &= ~bit;
        }
        return true;
    }

    // Applies the rules below until none changes anything. False on a contradiction.
    bool Propagate() {
        for (;;) {
            if (std::uint32_t changed = Changed()) {
                if (!UpdateBand<0>(changed & 0x1ff) || !UpdateBand<1>((changed >> 9) & 0x1ff) ||
                    !UpdateBand<2>(changed >> 18)) {
                    return false;
                }
                continue;
            }
            int placed = PlaceNakedSingles();
            if (placed <= 0) {
                return placed == 0;
            }
        }
    }

    bool Solved() const { return (unsolved_[0] | unsolved_[1] | unsolved_[2]) == 0; }

    // Only meaningful once Solved().
    void WriteTo(Grid& grid) const {
        for (int i = 0; i < 27; ++i) {
            int base = 27 * (i / 9);
            auto digit = static_cast<std::uint8_t>(i % 9 + 1);
            for (std::uint32_t rest = candidates_[i]; rest != 0; rest &= rest - 1) {
                grid.cells[base + std::countr_zero(rest)] = digit;
            }
        }
    }

    // Digit d (0 to 8) at band cell p; the next Propagate spreads it.
    void Place(int d, int band, int p) { candidates_[9 * band + d] &= kKeepWhenPlaced[p]; }

    void Remove(int d, int band, int p) { candidates_[9 * band + d] &= ~(1u << p); }

    // An unsolved cell to guess on, with its candidates as bits 0 to 8. Only after a
    // Propagate that left the board not Solved(): every unsolved cell has two candidates or
    // more then.
    // A cell with two candidates where such cells crowd: in the band with the most of them,
    // on its row with the most (this needs a fifth fewer guesses than the first such cell on
    // the hardest puzzles); else the first cell with three, else the first unsolved cell.
    void ChooseCell(int& band, int& p, unsigned& digits) const {
        std::uint32_t pairs = 0, triples = 0;
        int pairBand = -1, tripleBand = -1;
        for (int b = 0; b < 3; ++b) {
            // Bit-sliced counts: cells with at least one, two, three, four candidates.
            std::uint32_t one = 0, two = 0, three = 0, four = 0;
            for (int d = 0; d < kSize; ++d) {
                std::uint32_t c = candidates_[9 * b + d];
                four |= three & c;
                three |= two & c;
                two |= one & c;
                one |= c;
            }
            std::uint32_t bandPairs = two & ~three;
            if (std::popcount(bandPairs) > std::popcount(pairs)) {
                pairs = bandPairs;
                pairBand = b;
            }
            if (tripleBand < 0 && (three & ~four) != 0) {
                triples = three & ~four;
                tripleBand = b;
            }
        }
        if (pairBand >= 0) {
            std::uint32_t row = kRowCells;
            for (std::uint32_t other : {kRowCells << 9, kRowCells << 18}) {
                if (std::popcount(pairs & other) > std::popcount(pairs & row)) {
                    row = other;
                }
            }
            band = pairBand;
            p = std::countr_zero(pairs & row);
        } else if (tripleBand >= 0) {
            band = tripleBand;
            p = std::countr_zero(triples);
        } else {
            band = unsolved_[0] != 0 ? 0 : unsolved_[1] != 0 ? 1 : 2;
            p = std::countr_zero(unsolved_[band]);
        }
        digits = DigitsAt(band, p);
    }

private:
    unsigned DigitsAt(int band, int p) const {
        unsigned digits = 0;
        for (int d = 0; d < kSize; ++d) {
            digits |= ((candidates_[9 * band + d] >> p) & 1u) << d;
        }
        return digits;
    }

    // Bit i set when candidates_[i] changed since UpdateBand last examined it. Twenty-seven
    // independent compares: SSE2 compares took 40% fewer instructions but no less time, their
    // wide loads waiting on the narrow stores just made.
    std::uint32_t Changed() const {
        std::uint32_t changed = 0;
        for (int i = 0; i < 27; ++i) {
            changed |= static_cast<std::uint32_t>(candidates_[i] != examined_[i]) << i;
        }
        return changed;
    }

    // The rules on the digits of one band, a digit for each bit of digits.
    template <int band>
    bool UpdateBand(std::uint32_t digits) {
        constexpr int next = 9 * ((band + 1) % 3), last = 9 * ((band + 2) % 3);
        std::uint32_t* here = &candidates_[9 * band];
        for (; digits != 0; digits &= digits - 1) {
            int d = std::countr_zero(digits);
            std::uint32_t mask = here[d];
            unsigned triads = kTriadsOfRow[mask & kRowCells] |
                              kTriadsOfRow[(mask >> 9) & kRowCells] << 3 |
                              kTriadsOfRow[mask >> 18] << 6;
            mask &= kCellsOnPermutations[triads];
            if (mask == 0) {
                return false;
            }
            // A row with one cell left holds the digit there (a hidden single, or placed).
            std::uint32_t placed = kLoneCell[mask & kRowCells] |
                                   kLoneCell[(mask >> 9) & kRowCells] << 9 |
                                   kLoneCell[mask >> 18] << 18;
            if (std::uint32_t fresh = placed & unsolved_[band]) {
                unsolved_[band] &= ~fresh;
                for (int other = 0; other < kSize; ++other) {
                    here[other] &= ~fresh;
                }
            }
            here[d] = examined_[9 * band + d] = mask;
            std::uint32_t columns = (mask | mask >> 9 | mask >> 18) & kRowCells;
            std::uint32_t closed = kLoneColumns[columns] * kColumnCells;
            candidates_[next + d] &= ~closed;
            candidates_[last + d] &= ~closed;
        }
        return true;
    }

    // Places each digit that is the last candidate of its cell: 1 or more when some were
    // placed, 0 when none, -1 when a cell has no candidate left.
    int PlaceNakedSingles() {
        int placed = 0;
        for (int b = 0; b < 3; ++b) {
            std::uint32_t one = 0, two = 0;
            for (int d = 0; d < kSize; ++d) {
                std::uint32_t c = candidates_[9 * b + d];
                two |= one & c;
                one |= c;
            }
            if (one != kBandCells) {
                return -1;
            }
            for (std::uint32_t singles = one & ~two & unsolved_[b]; singles != 0;
                 singles &= singles - 1) {
                int p = std::countr_zero(singles);
                for (int d = 0; d < kSize; ++d) {
                    if (candidates_[9 * b + d] & (1u << p)) {
                        Place(d, b, p);
                        break;
                    }
                }
                ++placed;
            }
        }
        return placed;
    }

    std::array<std::uint32_t, 27> candidates_;
    // The masks as UpdateBand last left them: a band needs examining again once it differs.
    std::array<std::uint32_t, 27> examined_;
    // Per band, the cells no digit has been placed in yet.
    std::array<std::uint32_t, 3> unsolved_;
};

// A depth-first search over copies of a Board, guessing on a cell with few candidates.
class Search {
public:
    // Stops after limit solutions; the first lands in *first when given. With random, the
    // digits of a guessed cell are tried in a random order, else ascending.
    Search(int limit, Grid* first, Random* random)
        : limit_(limit), first_(first), random_(random) {}

    int Run(const Grid& puzzle) {
        Board board;
        if (limit_ < 1 || !board.Load(puzzle)) {
            return 0;
        }
        Explore(board);
        return found_;
    }

private:
    void Explore(Board& board) {
        for (;;) {
            if (!board.Propagate()) {
                return;
            }
            if (board.Solved()) {
                if (found_ == 0 && first_ != nullptr) {
                    board.WriteTo(*first_);
                }
                ++found_;
                return;
            }
            int band, p;
            unsigned digits;
            board.ChooseCell(band, p, digits);
            std::array<int, kSize> order;
            int count = 0;
            for (unsigned rest = digits; rest != 0; rest &= rest - 1) {
                order[count++] = std::countr_zero(rest);
            }
            if (random_ != nullptr) {
                Shuffle(order.data(), count);
            }
            // Every digit but the last on a copy; the last on this board, by looping.
            for (int k = 0; k + 1 < count; ++k) {
                Board guess = board;
                guess.Place(order[k], band, p);
                Explore(guess);
                if (found_ >= limit_) {
                    return;
                }
                board.Remove(order[k], band, p);
            }
            board.Place(order[count - 1], band, p);
        }
    }

    // Fisher-Yates with draws of our own (the high 32 bits scaled to 0..k), so that a seed
    // gives the same grid with any standard library; std::shuffle leaves its draws to the
    // library.
    void Shuffle(int* items, int count) {
        for (int k = count - 1; k > 0; --k) {
            std::uint64_t high = (*random_)() >> 32;
            auto j = static_cast<int>((high * static_cast<std::uint64_t>(k + 1)) >> 32);
            std::swap(items[k], items[j]);
        }
    }

    int limit_;
    Grid* first_;
    Random* random_;
    int found_ = 0;
};

}  // namespace

int CountSolutions(const Grid& puzzle, int limit, Grid* solution) {
    return Search(limit, solution, nullptr).Run(puzzle);
}

std::optional<Grid> Solve(const Grid& puzzle) {
    Grid solution;
    if (CountSolutions(puzzle, 1, &solution) == 0) {
        return std::nullopt;
    }
    return solution;
}

// Propagation never takes away a digit of a solution the board still allows, so whichever grid
// the shuffles happen to try first at every guess comes out: every solved grid can.
Grid RandomSolvedGrid(Random& random) {
    Grid solved;
    Search(1, &solved, &random).Run(Grid{});
    return solved;
}

}  // namespace sudoku
