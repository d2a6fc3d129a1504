#include "sudoku/solver.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "sudoku/solver_tables.h"

namespace sudoku {

namespace {

using namespace solver_tables;

// The candidates of a grid being solved: for digit d (0 to 8) and band b (0 to 2), the
// 27-bit mask candidates[3 * d + b] of the band's cells where digit d + 1 may stand (layout
// in solver_tables.h). A placed digit keeps its own cell's bit; every other digit loses it.
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
            int d = digit - 1, band = cell / 27, p = cell % 27;
            std::uint32_t bit = 1u << p;
            // A given before this one on the same row, column or box took the bit away.
            if (digit > kSize || !(candidates_[3 * d + band] & bit)) {
                return false;
            }
            for (int other = 0; other < kSize; ++other) {
                candidates_[3 * other + band] &= ~bit;
            }
            std::uint32_t column = kColumnCells << (p % 9);
            for (int b = 0; b < 3; ++b) {
                candidates_[3 * d + b] &= ~column;
            }
            candidates_[3 * d + band] |= bit;
            candidates_[3 * d + band] &= kKeepWhenPlaced[p];
            unsolved_[band] &= ~bit;
        }
        return true;
    }

    // Applies the rules below until none changes anything. False on a contradiction.
    bool Propagate() {
        for (;;) {
            bool changed;
            do {
                changed = false;
                for (int i = 0; i < 27; ++i) {
                    if (candidates_[i] != examined_[i]) {
                        changed = true;
                        if (!UpdateBand(i)) {
                            return false;
                        }
                    }
                }
            } while (changed);
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
            int base = 27 * (i % 3);
            auto digit = static_cast<std::uint8_t>(i / 3 + 1);
            for (std::uint32_t rest = candidates_[i]; rest != 0; rest &= rest - 1) {
                grid.cells[base + std::countr_zero(rest)] = digit;
            }
        }
    }

    // Digit d (0 to 8) at band cell p; the next Propagate spreads it.
    void Place(int d, int band, int p) { candidates_[3 * d + band] &= kKeepWhenPlaced[p]; }

    void Remove(int d, int band, int p) { candidates_[3 * d + band] &= ~(1u << p); }

    // An unsolved cell to guess on, with its candidates as bits 0 to 8: the first with two
    // candidates, else the first with three, else the first unsolved. Only when !Solved().
    void ChooseCell(int& band, int& p, unsigned& digits) const {
        std::uint32_t fallback = 0;
        int fallbackBand = -1;
        for (int b = 0; b < 3; ++b) {
            // Bit-sliced counts: cells with at least one, two, three candidates.
            std::uint32_t one = 0, two = 0, three = 0, four = 0;
            for (int d = 0; d < kSize; ++d) {
                std::uint32_t c = candidates_[3 * d + b];
                four |= three & c;
                three |= two & c;
                two |= one & c;
                one |= c;
            }
            if (std::uint32_t pairs = two & ~three) {
                band = b;
                p = std::countr_zero(pairs);
                digits = DigitsAt(b, p);
                return;
            }
            if (fallbackBand < 0) {
                if (std::uint32_t triples = three & ~four) {
                    fallback = triples;
                    fallbackBand = b;
                }
            }
        }
        if (fallbackBand < 0) {
            for (int b = 0; b < 3 && fallbackBand < 0; ++b) {
                if (unsolved_[b] != 0) {
                    fallback = unsolved_[b];
                    fallbackBand = b;
                }
            }
        }
        band = fallbackBand;
        p = std::countr_zero(fallback);
        digits = DigitsAt(band, p);
    }

private:
    unsigned DigitsAt(int band, int p) const {
        unsigned digits = 0;
        for (int d = 0; d < kSize; ++d) {
            digits |= ((candidates_[3 * d + band] >> p) & 1u) << d;
        }
        return digits;
    }

    // The rules on one digit in one band, i = 3 * digit + band.
    bool UpdateBand(int i) {
        int band = i % 3;
        std::uint32_t mask = candidates_[i];
        unsigned triads = kTriadsOfRow[mask & kRowCells] |
                          kTriadsOfRow[(mask >> 9) & kRowCells] << 3 |
                          kTriadsOfRow[mask >> 18] << 6;
        mask &= kCellsOnPermutations[triads];
        if (mask == 0) {
            return false;
        }
        // A row with one cell left holds the digit there (a hidden single, or placed already).
        std::uint32_t placed = mask & (LoneRowMask(mask) | LoneRowMask(mask >> 9) << 9 |
                                       LoneRowMask(mask >> 18) << 18);
        if (std::uint32_t fresh = placed & unsolved_[band]) {
            unsolved_[band] &= ~fresh;
            for (int other = 0; other < kSize; ++other) {
                candidates_[3 * other + band] &= ~fresh;
            }
        }
        candidates_[i] = examined_[i] = mask;
        std::uint32_t columns = (mask | mask >> 9 | mask >> 18) & kRowCells;
        std::uint32_t closed = kLoneColumns[columns] * kColumnCells;
        if (closed != 0) {
            int next = band == 2 ? i - 2 : i + 1;
            int last = band == 0 ? i + 2 : i - 1;
            candidates_[next] &= ~closed;
            candidates_[last] &= ~closed;
        }
        return true;
    }

    // All nine bits when the low nine bits of row hold exactly one bit, else 0.
    static std::uint32_t LoneRowMask(std::uint32_t row) {
        row &= kRowCells;
        return (row & (row - 1)) == 0 ? kRowCells : 0;
    }

    // Places each digit that is the last candidate of its cell: 1 or more when some were
    // placed, 0 when none, -1 when a cell has no candidate left.
    int PlaceNakedSingles() {
        int placed = 0;
        for (int b = 0; b < 3; ++b) {
            std::uint32_t one = 0, two = 0;
            for (int d = 0; d < kSize; ++d) {
                std::uint32_t c = candidates_[3 * d + b];
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
                    if (candidates_[3 * d + b] & (1u << p)) {
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

// A depth-first search over copies of a Board, guessing on a cell with the fewest candidates.
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
                std::shuffle(order.begin(), order.begin() + count, *random_);
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

Grid RandomSolvedGrid(Random& random) {
    Grid solved;
    Search(1, &solved, &random).Run(Grid{});
    return solved;
}

}  // namespace sudoku
