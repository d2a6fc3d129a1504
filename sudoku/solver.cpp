#include "sudoku/solver.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace sudoku {

namespace {

// Candidate digits of a cell as bits 0 to 8 (bit d - 1 for digit d).
using Mask = std::uint16_t;
constexpr Mask kAllDigits = 0x1ff;

// A backtracking search over row, column and box masks of the digits already placed. It
// always fills the empty cell with the fewest candidates next.
class SimpleSearch {
public:
    // False when the givens already break a rule.
    bool Load(const Grid& puzzle) {
        grid_ = puzzle;
        for (int cell = 0; cell < kCellCount; ++cell) {
            int digit = puzzle.cells[cell];
            if (digit == 0) {
                continue;
            }
            if (digit > 9) {
                return false;
            }
            Mask bit = static_cast<Mask>(1u << (digit - 1));
            int row = cell / kSize, column = cell % kSize, box = BoxOf(row, column);
            if ((rows_[row] | columns_[column] | boxes_[box]) & bit) {
                return false;
            }
            rows_[row] |= bit;
            columns_[column] |= bit;
            boxes_[box] |= bit;
        }
        return true;
    }

    // Counts solutions until limit; the first one lands in first when given. The digit
    // order at each guess comes from random when given, else ascending.
    void Count(int limit, Grid* first, Random* random) {
        int bestCell = -1;
        Mask bestOptions = 0;
        int bestCount = 10;
        for (int cell = 0; cell < kCellCount && bestCount > 1; ++cell) {
            if (grid_.cells[cell] != 0) {
                continue;
            }
            Mask options = Options(cell);
            int count = std::popcount(options);
            if (count == 0) {
                return;
            }
            if (count < bestCount) {
                bestCount = count;
                bestCell = cell;
                bestOptions = options;
            }
        }
        if (bestCell < 0) {
            if (found_ == 0 && first != nullptr) {
                *first = grid_;
            }
            ++found_;
            return;
        }
        std::array<int, 9> digits{};
        int n = 0;
        for (Mask rest = bestOptions; rest != 0; rest &= rest - 1) {
            digits[n++] = std::countr_zero(rest) + 1;
        }
        if (random != nullptr) {
            std::shuffle(digits.begin(), digits.begin() + n, *random);
        }
        int row = bestCell / kSize, column = bestCell % kSize, box = BoxOf(row, column);
        for (int i = 0; i < n && found_ < limit; ++i) {
            Mask bit = static_cast<Mask>(1u << (digits[i] - 1));
            grid_.cells[bestCell] = static_cast<std::uint8_t>(digits[i]);
            rows_[row] |= bit;
            columns_[column] |= bit;
            boxes_[box] |= bit;
            Count(limit, first, random);
            rows_[row] &= static_cast<Mask>(~bit);
            columns_[column] &= static_cast<Mask>(~bit);
            boxes_[box] &= static_cast<Mask>(~bit);
        }
        grid_.cells[bestCell] = 0;
    }

    int found() const { return found_; }

private:
    Mask Options(int cell) const {
        int row = cell / kSize, column = cell % kSize;
        return static_cast<Mask>(kAllDigits &
                                 ~(rows_[row] | columns_[column] | boxes_[BoxOf(row, column)]));
    }

    Grid grid_;
    std::array<Mask, kSize> rows_{}, columns_{}, boxes_{};
    int found_ = 0;
};

}  // namespace

int CountSolutions(const Grid& puzzle, int limit, Grid* solution) {
    SimpleSearch search;
    if (limit < 1 || !search.Load(puzzle)) {
        return 0;
    }
    search.Count(limit, solution, nullptr);
    return search.found();
}

std::optional<Grid> Solve(const Grid& puzzle) {
    Grid solution;
    if (CountSolutions(puzzle, 1, &solution) == 0) {
        return std::nullopt;
    }
    return solution;
}

Grid RandomSolvedGrid(Random& random) {
    SimpleSearch search;
    search.Load(Grid{});
    Grid solved;
    search.Count(1, &solved, &random);
    return solved;
}

}  // namespace sudoku
