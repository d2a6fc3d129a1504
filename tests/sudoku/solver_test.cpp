#include "sudoku/solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/sudoku/puzzle_sets.h"
#include "tests/sudoku/reference_solver.h"

namespace sudoku {
namespace {

using testing_support::ReadPuzzleSet;
using testing_support::ReferenceCountSolutions;
using testing_support::SetPuzzle;

// Few enough that the whole file runs in seconds in a sanitizer build.
constexpr std::size_t kSample = 400;

Grid Parse(std::string_view text) {
    auto grid = ParseLine(text);
    EXPECT_TRUE(grid.has_value()) << text;
    return grid.value_or(Grid{});
}

// A solved grid, row by row.
constexpr std::string_view kSolved =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

// The first line of the easy set: one solution.
constexpr std::string_view kUnique =
    ".5.7.3.6...7...8.....816.......3......5...1..73..4..869.6...2.484.572.93...4.9...";

void ExpectSolvesUniquely(const std::vector<SetPuzzle>& puzzles, const std::string& file) {
    ASSERT_FALSE(puzzles.empty()) << file;
    for (const SetPuzzle& entry : puzzles) {
        Grid answer;
        ASSERT_EQ(CountSolutions(entry.puzzle, 2, &answer), 1)
            << file << ": " << FormatLine(entry.puzzle);
        EXPECT_TRUE(IsSolved(answer)) << file << ": " << FormatLine(answer);
        EXPECT_TRUE(Agrees(entry.puzzle, answer)) << file << ": " << FormatLine(answer);
        if (entry.solution) {
            EXPECT_EQ(answer, *entry.solution) << file << ": " << FormatLine(entry.puzzle);
        }
        auto solved = Solve(entry.puzzle);
        ASSERT_TRUE(solved.has_value()) << file << ": " << FormatLine(entry.puzzle);
        EXPECT_EQ(*solved, answer) << file << ": " << FormatLine(entry.puzzle);
    }
}

TEST(SolverTest, MatchesTheKnownSolutionsOfTheExchangeSets) {
    for (const char* file : {"sudoku_exchange_easy_500_with_solutions.txt",
                             "sudoku_exchange_medium_500_with_solutions.txt",
                             "sudoku_exchange_hard_500_with_solutions.txt",
                             "sudoku_exchange_diabolical_500_with_solutions.txt"}) {
        auto puzzles = ReadPuzzleSet(file);
        for (const SetPuzzle& entry : puzzles) {
            ASSERT_TRUE(entry.solution.has_value()) << file;
        }
        ExpectSolvesUniquely(puzzles, file);
    }
}

TEST(SolverTest, SolvesTheHardestSetsWithOneSolutionEach) {
    ExpectSolvesUniquely(ReadPuzzleSet("forum_hardest_1106.txt"), "forum_hardest_1106.txt");
    ExpectSolvesUniquely(ReadPuzzleSet("forum_hardest_1905_11plus.txt", kSample),
                         "forum_hardest_1905_11plus.txt");
    ExpectSolvesUniquely(ReadPuzzleSet("magictour_top1465.txt", kSample), "magictour_top1465.txt");
}

TEST(SolverTest, SolvesMinimalPuzzlesWithOneSolutionEach) {
    ExpectSolvesUniquely(ReadPuzzleSet("17_clue.txt", 2 * kSample), "17_clue.txt");
    ExpectSolvesUniquely(ReadPuzzleSet("sudoku_exchange_se_rated_sample.txt", kSample),
                         "sudoku_exchange_se_rated_sample.txt");
}

TEST(SolverTest, StopsAtTheLimitOnTheMultiSolutionSet) {
    auto puzzles = ReadPuzzleSet("serg_benchmark_multisolution.txt", 5 * kSample);
    ASSERT_FALSE(puzzles.empty());
    for (const SetPuzzle& entry : puzzles) {
        Grid first;
        ASSERT_EQ(CountSolutions(entry.puzzle, 2, &first), 2) << FormatLine(entry.puzzle);
        EXPECT_TRUE(IsSolved(first));
        EXPECT_TRUE(Agrees(entry.puzzle, first));
        EXPECT_EQ(CountSolutions(entry.puzzle, 1), 1);
        EXPECT_FALSE(HasUniqueSolution(entry.puzzle));
    }
}

// Counting every solution, far past two, against the independent counter.
TEST(SolverTest, CountsEverySolutionLikeTheReferenceCounter) {
    constexpr int kNoLimit = 1'000'000;
    for (const SetPuzzle& entry : ReadPuzzleSet("serg_benchmark_multisolution.txt", 30)) {
        int count = CountSolutions(entry.puzzle, kNoLimit);
        EXPECT_GE(count, 2);
        EXPECT_EQ(count, ReferenceCountSolutions(entry.puzzle, kNoLimit))
            << FormatLine(entry.puzzle);
        for (int limit : {1, 2, 3, 7}) {
            EXPECT_EQ(CountSolutions(entry.puzzle, limit), std::min(limit, count));
        }
    }
}

// Puzzles with a few givens taken away have many solutions; puzzles with one given changed
// to a digit that breaks no rule have none, which only search can show.
TEST(SolverTest, AgreesWithTheReferenceCounterOnAlteredPuzzles) {
    auto puzzles = ReadPuzzleSet("sudoku_exchange_hard_500_with_solutions.txt", 120);
    ASSERT_FALSE(puzzles.empty());
    int unsolvable = 0;
    for (std::size_t n = 0; n < puzzles.size(); ++n) {
        const SetPuzzle& entry = puzzles[n];
        ASSERT_TRUE(entry.solution.has_value());
        Grid fewer = entry.puzzle;
        int removed = 0;
        for (int cell = static_cast<int>(n % 7); cell < kCellCount && removed < 4; cell += 7) {
            if (fewer.cells[cell] != 0) {
                fewer.cells[cell] = 0;
                ++removed;
            }
        }
        EXPECT_EQ(CountSolutions(fewer, 50), ReferenceCountSolutions(fewer, 50))
            << FormatLine(fewer);

        Grid wrong = entry.puzzle;
        int cell = static_cast<int>(n * 13 % kCellCount);
        while (wrong.cells[cell] != 0) {
            cell = (cell + 1) % kCellCount;
        }
        for (int digit = 1; digit <= 9; ++digit) {
            wrong.cells[cell] = static_cast<std::uint8_t>(digit);
            if (digit != entry.solution->cells[cell] && FollowsTheRules(wrong)) {
                break;
            }
            wrong.cells[cell] = 0;
        }
        if (wrong.cells[cell] == 0) {
            continue;  // every other digit breaks a rule there
        }
        ++unsolvable;
        EXPECT_EQ(CountSolutions(wrong, 2), 0) << FormatLine(wrong);
        EXPECT_EQ(ReferenceCountSolutions(wrong, 2), 0) << FormatLine(wrong);
        EXPECT_FALSE(Solve(wrong).has_value());
    }
    // Most cells admit some other digit that breaks no rule, so this is a check of search on
    // most puzzles, not on a lucky few.
    EXPECT_GT(unsolvable, static_cast<int>(puzzles.size()) / 2);
}

TEST(SolverTest, AgreesWithTheReferenceCounterOnRatedPuzzles) {
    for (const SetPuzzle& entry : ReadPuzzleSet("sudoku_exchange_se_rated_sample.txt", 200)) {
        EXPECT_EQ(CountSolutions(entry.puzzle, 2), ReferenceCountSolutions(entry.puzzle, 2))
            << FormatLine(entry.puzzle);
    }
}

TEST(SolverTest, SolvesAGivenSolvedGridAsItself) {
    Grid solved = Parse(kSolved);
    Grid answer;
    EXPECT_EQ(CountSolutions(solved, 2, &answer), 1);
    EXPECT_EQ(answer, solved);
}

TEST(SolverTest, LeavesTheSolutionAloneWhenThereIsNone) {
    Grid solved = Parse(kSolved);
    Grid broken = solved;
    std::swap(broken.cells[0], broken.cells[1]);
    Grid answer = solved;
    EXPECT_EQ(CountSolutions(broken, 2, &answer), 0);
    EXPECT_EQ(answer, solved);
}

// Givens on an otherwise empty grid, as (row, column, digit).
Grid WithGivens(std::initializer_list<std::array<int, 3>> givens) {
    Grid grid;
    for (const auto& [row, column, digit] : givens) {
        grid.Set(row, column, static_cast<std::uint8_t>(digit));
    }
    return grid;
}

TEST(SolverTest, FindsNoSolutionWhenAGivenRepeatsInARowColumnOrBox) {
    ASSERT_EQ(CountSolutions(WithGivens({{0, 0, 5}, {4, 4, 5}}), 2), 2);
    for (const Grid& broken : {WithGivens({{0, 0, 5}, {0, 8, 5}}),     // row
                               WithGivens({{0, 3, 5}, {8, 3, 5}}),     // column
                               WithGivens({{3, 6, 5}, {5, 8, 5}}),     // box
                               WithGivens({{8, 8, 9}, {6, 6, 9}})}) {  // box, the last one
        EXPECT_EQ(CountSolutions(broken, 2), 0) << FormatLine(broken);
        EXPECT_FALSE(Solve(broken).has_value());
        EXPECT_FALSE(HasUniqueSolution(broken));
    }
    Grid repeated = Parse(kUnique);
    repeated.Set(0, 0, 7);  // the 7 of cell (0, 3)
    EXPECT_EQ(CountSolutions(repeated, 2), 0);
}

TEST(SolverTest, FindsNoSolutionForADigitOutsideOneToNine) {
    Grid puzzle = Parse(kUnique);
    puzzle.cells[0] = 10;
    EXPECT_EQ(CountSolutions(puzzle, 2), 0);
}

TEST(SolverTest, FindsNoSolutionForACellLeftWithoutCandidates) {
    // (0, 0) sees 1 to 8 in its row and 9 in its column; no rule is broken.
    Grid puzzle = Parse(".12345678" + std::string(18, '.') + "9" + std::string(53, '.'));
    ASSERT_TRUE(FollowsTheRules(puzzle));
    EXPECT_EQ(CountSolutions(puzzle, 2), 0);
    EXPECT_FALSE(Solve(puzzle).has_value());
}

TEST(SolverTest, FindsNoSolutionForADigitWithNoPlaceInABox) {
    // The 1s of rows 0 and 1 and of columns 0 and 1 leave only (2, 2) in box 0 for a 1,
    // and a 2 stands there.
    Grid puzzle = WithGivens({{0, 4, 1}, {1, 7, 1}, {4, 0, 1}, {7, 1, 1}, {2, 2, 2}});
    ASSERT_TRUE(FollowsTheRules(puzzle));
    EXPECT_EQ(CountSolutions(puzzle, 2), 0);
}

TEST(SolverTest, SolvesTheEmptyGrid) {
    Grid answer;
    EXPECT_EQ(CountSolutions(Grid{}, 1, &answer), 1);
    EXPECT_TRUE(IsSolved(answer));
    EXPECT_EQ(CountSolutions(Grid{}, 2), 2);
    EXPECT_EQ(CountSolutions(Grid{}, 100), 100);
    EXPECT_FALSE(HasUniqueSolution(Grid{}));
}

TEST(SolverTest, GivesTheSameCountsFromSeveralThreadsAtOnce) {
    auto puzzles = ReadPuzzleSet("magictour_top1465.txt", 100);
    ASSERT_FALSE(puzzles.empty());
    std::vector<Grid> expected;
    for (const SetPuzzle& entry : puzzles) {
        expected.push_back(Solve(entry.puzzle).value_or(Grid{}));
    }
    constexpr int kThreads = 4;
    std::vector<int> wrong(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round) {
                for (std::size_t i = 0; i < puzzles.size(); ++i) {
                    Grid answer;
                    if (CountSolutions(puzzles[i].puzzle, 2, &answer) != 1 ||
                        answer != expected[i]) {
                        ++wrong[t];
                    }
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, std::vector<int>(kThreads, 0));
}

// The grid relabelled so that its first row reads 1 to 9: grids that differ only by a
// renaming of digits come out the same.
Grid Relabelled(const Grid& grid) {
    std::array<std::uint8_t, 10> name{};
    for (int column = 0; column < kSize; ++column) {
        name[grid.At(0, column)] = static_cast<std::uint8_t>(column + 1);
    }
    Grid out;
    for (int cell = 0; cell < kCellCount; ++cell) {
        out.cells[cell] = name[grid.cells[cell]];
    }
    return out;
}

TEST(RandomSolvedGridTest, GivesSolvedGridsThatVary) {
    Random random(2024);
    std::set<std::string> grids, shapes;
    std::array<std::set<int>, kCellCount> digitsSeen;
    constexpr int kGrids = 60;
    for (int i = 0; i < kGrids; ++i) {
        Grid grid = RandomSolvedGrid(random);
        ASSERT_TRUE(IsSolved(grid)) << FormatLine(grid);
        grids.insert(FormatLine(grid));
        shapes.insert(FormatLine(Relabelled(grid)));
        for (int cell = 0; cell < kCellCount; ++cell) {
            digitsSeen[cell].insert(grid.cells[cell]);
        }
    }
    EXPECT_EQ(grids.size(), static_cast<std::size_t>(kGrids));
    // Not one grid with its digits renamed: the arrangements themselves differ.
    EXPECT_GT(shapes.size(), static_cast<std::size_t>(kGrids / 2));
    for (int cell = 0; cell < kCellCount; ++cell) {
        EXPECT_GE(digitsSeen[cell].size(), 6u) << "cell " << cell;
    }
}

TEST(RandomSolvedGridTest, IsTheSameForTheSameSeed) {
    for (std::uint64_t seed : {1u, 42u, 123456789u}) {
        Random first(seed), second(seed);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(RandomSolvedGrid(first), RandomSolvedGrid(second)) << "seed " << seed;
        }
    }
    Random one(1), two(2);
    EXPECT_NE(RandomSolvedGrid(one), RandomSolvedGrid(two));
}

}  // namespace
}  // namespace sudoku
