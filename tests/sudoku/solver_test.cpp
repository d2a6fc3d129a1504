#include "sudoku/solver.h"

#include <gtest/gtest.h>

#include "tests/sudoku/puzzle_sets.h"
#include "tests/sudoku/reference_solver.h"

namespace sudoku {
namespace {

using testing_support::ReadPuzzleSet;

TEST(SolverTest, SolvesKnownSolutions) {
    REQUIRE_PUZZLE_SETS();
    for (const char* file : {"sudoku_exchange_easy_500_with_solutions.txt",
                             "sudoku_exchange_diabolical_500_with_solutions.txt"}) {
        for (const auto& entry : ReadPuzzleSet(file)) {
            ASSERT_TRUE(entry.solution.has_value());
            Grid solution;
            ASSERT_EQ(CountSolutions(entry.puzzle, 2, &solution), 1) << FormatLine(entry.puzzle);
            EXPECT_EQ(solution, *entry.solution) << FormatLine(entry.puzzle);
        }
    }
}

TEST(SolverTest, EmptyGridIsSolvable) {
    auto solution = Solve(Grid{});
    ASSERT_TRUE(solution.has_value());
    EXPECT_TRUE(IsSolved(*solution));
    EXPECT_EQ(CountSolutions(Grid{}, 2), 2);
}

TEST(SolverTest, RandomSolvedGridIsSolvedAndSeeded) {
    Random a(7), b(7), c(8);
    Grid first = RandomSolvedGrid(a);
    EXPECT_TRUE(IsSolved(first));
    EXPECT_EQ(first, RandomSolvedGrid(b));
    EXPECT_NE(first, RandomSolvedGrid(c));
}

}  // namespace
}  // namespace sudoku
