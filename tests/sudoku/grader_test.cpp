#include "sudoku/grader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "sudoku/solver.h"
#include "tests/sudoku/puzzle_sets.h"
#include "tests/sudoku/reference_solver.h"

namespace sudoku {
namespace {

using testing_support::ReadPuzzleSet;
using testing_support::ReferenceCountSolutions;

Grid Parsed(std::string_view text) {
    auto grid = ParseLine(text);
    EXPECT_TRUE(grid.has_value()) << text;
    return grid.value_or(Grid{});
}

Technique Easier(Technique technique) {
    return static_cast<Technique>(static_cast<int>(technique) - 1);
}

// Every technique removes only candidates no solution has: on a puzzle with one solution a
// solved grade ends on it, and an unsolved one has placed only its digits.
void ExpectTrueTo(const Grid& puzzle, const Grade& grade, const Grid& solution) {
    EXPECT_TRUE(Agrees(puzzle, grade.grid)) << FormatLine(puzzle);
    EXPECT_TRUE(Agrees(grade.grid, solution)) << FormatLine(puzzle);
    if (grade.Solved()) {
        EXPECT_EQ(grade.grid, solution) << FormatLine(puzzle);
    }
}

// A puzzle whose easiest-first path needs technique, and where the puzzle comes from.
struct Example {
    Technique technique;
    const char* puzzle;
    const char* origin;
};

std::ostream& operator<<(std::ostream& out, const Example& example) {
    return out << TechniqueName(example.technique) << " (" << example.origin << ")";
}

class TechniqueExample : public testing::TestWithParam<Example> {};

// The puzzle needs exactly its technique: the easier ones get stuck, and with it they solve.
TEST_P(TechniqueExample, IsNeededAndEnough) {
    const Example& example = GetParam();
    Grid puzzle = Parsed(example.puzzle);
    ASSERT_EQ(ReferenceCountSolutions(puzzle, 2), 1);
    std::optional<Grid> solution = Solve(puzzle);
    ASSERT_TRUE(solution.has_value());

    Grade grade = GradePuzzle(puzzle);
    EXPECT_EQ(grade.hardest, example.technique);
    ExpectTrueTo(puzzle, grade, *solution);
    if (example.technique != Technique::Trial) {
        EXPECT_GE(grade.uses[static_cast<int>(example.technique)], 1);
        EXPECT_EQ(GradePuzzle(puzzle, example.technique).hardest, example.technique);
    }
    if (example.technique != Technique::NakedSingle) {
        Grade stuck = GradePuzzle(puzzle, Easier(example.technique));
        EXPECT_FALSE(stuck.Solved());
        ExpectTrueTo(puzzle, stuck, *solution);
    }
}

// The Sudoku Explainer ratings agree: 2.6 pointing, 2.8 claiming, 3.0 naked pair, 3.2 X-Wing,
// 3.4 hidden pair, 3.6 naked triple, 3.8 Swordfish, 4.0 hidden triple, 4.2 XY-Wing.
INSTANTIATE_TEST_SUITE_P(
    KnownPuzzles, TechniqueExample,
    testing::Values(
        Example{Technique::NakedSingle,
                ".31....72...............8....9.86.4...2......71..9.6.......7.....6..4..3...1.2798",
                "qqwing simple"},
        Example{Technique::HiddenSingle,
                ".2..6..7..1......5.......26........9...9.1.6.4....57.2.512....7....5.43...37.6..1",
                "qqwing easy"},
        Example{Technique::LockedCandidates,
                ".....6..7..7.5.....54.9.1...9.3.4.8...3.6.7...1.9.7.5...6.8.41.....7.9..9..1.....",
                "SE 2.6, pointing"},
        Example{Technique::LockedCandidates,
                "869...312.2.....8..7.1.8.4..3.....9.7...6...4..19.25.....836...4...7...3....1....",
                "SE 2.8, claiming"},
        Example{Technique::NakedPair,
                "....5.......2.6....64...39..45...81.....2.......1.7....53...98..9.8.4.6.1...3...4",
                "SE 3.0"},
        Example{Technique::HiddenPair,
                ".8.2..4..57....1....23.....82..9...5...715...7...2..41.....67....3....18..7..9.5.",
                "SE 3.4"},
        Example{Technique::NakedTriple,
                ".13.9.46.8.......5....4....2.......197..1..43.6.7.5.9..894.371.............678...",
                "SE 3.6"},
        Example{Technique::HiddenTriple,
                "..41.52...........9..823..4.4.....6..3.218.7.7.8...5.3...5.1.............25...94.",
                "SE 4.0"},
        Example{Technique::XWing,
                "97.3.6.428.5...1.9....5....2.7...3.4.1..2..8.4..738..1...9.5............1..847..3",
                "SE 3.2"},
        Example{Technique::Swordfish,
                "..96.3..4.1.7...8.4...8...3......641..5...2..164......6...1...2.5...2.6.3..4.75..",
                "SE 3.8"},
        Example{Technique::XYWing,
                ".6..5..3....3.6.....7...4...3.....6..14.2.79.7.......1.........9..147..5.516.987.",
                "SE 4.2"},
        Example{Technique::Trial,
                "1.......2.9.4...5...6...7...5.9.3.......7.......85..4.7.....6...3...9.8...2.....1",
                "Easter Monster, SE 11.9"}),
    [](const testing::TestParamInfo<Example>& info) {
        std::string name(TechniqueName(info.param.technique));
        std::erase_if(name, [](char c) { return c == ' ' || c == '-'; });
        return name + std::to_string(info.index);
    });

TEST(Grader, SinglesPlaceOneDigitPerEmptyCell) {
    Grid puzzle =
        Parsed(".2..6..7..1......5.......26........9...9.1.6.4....57.2.512....7....5.43...37.6..1");
    Grade grade = GradePuzzle(puzzle);
    ASSERT_TRUE(grade.SolvedBySingles());
    EXPECT_EQ(grade.uses[0] + grade.uses[1], kCellCount - FilledCount(puzzle));
    for (int technique = 2; technique < kTechniqueCount; ++technique) {
        EXPECT_EQ(grade.uses[technique], 0) << TechniqueName(static_cast<Technique>(technique));
    }
}

TEST(Grader, FullGridNeedsNothing) {
    Grid solved =
        Parsed("534678912672195348198342567859761423426853791713924856961537284287419635345286179");
    Grade grade = GradePuzzle(solved);
    EXPECT_EQ(grade.hardest, Technique::NakedSingle);
    EXPECT_TRUE(grade.SolvedBySingles());
    EXPECT_EQ(grade.uses, (std::array<int, kTechniqueCount>{}));
    EXPECT_EQ(grade.grid, solved);
}

TEST(Grader, OneEmptyCellIsANakedSingle) {
    Grid puzzle =
        Parsed("534678912672195348198342567859761423426853791713924856961537284287419635345286179");
    puzzle.Set(4, 4, 0);
    Grade grade = GradePuzzle(puzzle);
    EXPECT_EQ(grade.hardest, Technique::NakedSingle);
    EXPECT_EQ(grade.uses[0], 1);
    EXPECT_EQ(grade.grid.At(4, 4), 5);
}

TEST(Grader, GivensBreakingARuleAreNotSolved) {
    Grid puzzle =
        Parsed("55..6..7..1......5.......26........9...9.1.6.4....57.2.512....7....5.43...37.6..1");
    EXPECT_FALSE(GradePuzzle(puzzle).Solved());
    EXPECT_EQ(GradePuzzle(puzzle).hardest, Technique::Trial);
}

TEST(Grader, PuzzleWithoutSolutionIsNotSolved) {
    // The top left cell sees every digit: 1-8 in its row, 9 in its column.
    Grid puzzle = Parsed(
        ".12345678"
        "........."
        "........."
        "9........"
        "........."
        "........."
        "........."
        "........."
        ".........");
    ASSERT_EQ(ReferenceCountSolutions(puzzle, 1), 0);
    EXPECT_FALSE(GradePuzzle(puzzle).Solved());
}

TEST(Grader, EmptyGridIsNotSolved) {
    Grade grade = GradePuzzle(Grid{});
    EXPECT_EQ(grade.hardest, Technique::Trial);
    EXPECT_EQ(FilledCount(grade.grid), 0);
}

TEST(Grader, NamesEveryTechnique) {
    EXPECT_EQ(TechniqueName(Technique::NakedSingle), "naked single");
    EXPECT_EQ(TechniqueName(Technique::XWing), "x-wing");
    EXPECT_EQ(TechniqueName(Technique::Trial), "trial");
    for (int i = 0; i < kTechniqueCount; ++i) {
        for (int j = 0; j < i; ++j) {
            EXPECT_NE(TechniqueName(static_cast<Technique>(i)),
                      TechniqueName(static_cast<Technique>(j)));
        }
    }
}

// Sound steps keep every solution, so a puzzle with several can never come out solved, and
// what the grader placed still leaves several.
TEST(GraderOnPuzzleSets, NeverSolvesAPuzzleWithSeveralSolutions) {
    for (const auto& entry : ReadPuzzleSet("serg_benchmark_multisolution.txt", 300)) {
        Grade grade = GradePuzzle(entry.puzzle);
        EXPECT_FALSE(grade.Solved()) << FormatLine(entry.puzzle);
        EXPECT_TRUE(Agrees(entry.puzzle, grade.grid));
        EXPECT_EQ(ReferenceCountSolutions(grade.grid, 2), 2) << FormatLine(entry.puzzle);
    }
}

// Every technique Sudoku Explainer rates 3.8 or less is one of ours, and ours rate at most
// 4.2 there; an explainer solves easiest first, so the ratings bound our grade both ways.
TEST(GraderOnPuzzleSets, AgreesWithExplainerRatings) {
    auto puzzles = ReadPuzzleSet("sudoku_exchange_se_rated_sample.txt");
    // Every 13th of the full set's 23,293 puzzles keeps the run short; the sample, two of each
    // rating, is small enough to grade whole.
    const bool full = testing_support::ReadingFullSets();
    ASSERT_GT(puzzles.size(), full ? 20000u : 100u);
    const std::size_t step = full ? 13 : 1;
    int checked = 0;
    for (std::size_t i = 0; i < puzzles.size(); i += step) {
        const auto& entry = puzzles[i];
        ASSERT_TRUE(entry.rating.has_value());
        double rating = *entry.rating;
        Grade grade = GradePuzzle(entry.puzzle);
        if (rating <= 3.0) {
            EXPECT_TRUE(grade.SolvedByMediumSet()) << FormatLine(entry.puzzle) << " " << rating;
        } else if (rating <= 3.8) {
            EXPECT_TRUE(grade.Solved()) << FormatLine(entry.puzzle) << " " << rating;
        } else if (rating >= 4.4) {
            EXPECT_EQ(grade.hardest, Technique::Trial) << FormatLine(entry.puzzle) << rating;
        }
        if (grade.Solved()) {
            EXPECT_EQ(grade.grid, Solve(entry.puzzle)) << FormatLine(entry.puzzle);
        }
        ++checked;
    }
    EXPECT_GT(checked, full ? 1500 : 100);
}

// The grade's classes are what the easier techniques alone achieve, whatever their order.
TEST(GraderOnPuzzleSets, ClassesMatchLowerCeilings) {
    for (const char* set : {"sudoku_exchange_medium_500_with_solutions.txt",
                            "sudoku_exchange_hard_500_with_solutions.txt"}) {
        for (const auto& entry : ReadPuzzleSet(set, 200)) {
            Grade grade = GradePuzzle(entry.puzzle);
            EXPECT_EQ(grade.SolvedBySingles(), GradePuzzle(entry.puzzle, kSingles).Solved());
            EXPECT_EQ(grade.SolvedByMediumSet(), GradePuzzle(entry.puzzle, kMediumSet).Solved());
            ASSERT_TRUE(entry.solution.has_value());
            ExpectTrueTo(entry.puzzle, grade, *entry.solution);
        }
    }
}

TEST(GraderOnPuzzleSets, PlacesOnlyTrueDigitsInHardPuzzles) {
    for (const char* set : {"magictour_top1465.txt", "forum_hardest_1106.txt"}) {
        for (const auto& entry : ReadPuzzleSet(set, 150)) {
            std::optional<Grid> solution = Solve(entry.puzzle);
            ASSERT_TRUE(solution.has_value()) << FormatLine(entry.puzzle);
            ExpectTrueTo(entry.puzzle, GradePuzzle(entry.puzzle), *solution);
        }
    }
}

// One row of qqwing_generated_800.csv: the puzzle and what qqwing's own solver used on it.
struct QqwingRow {
    Grid puzzle;
    Grid solution;
    int hiddenSingles = 0;
    int beyondSingles = 0;  // naked and hidden pairs, pointing, box/line
    int guesses = 0;
    std::string difficulty;
};

std::vector<QqwingRow> ReadQqwingRows() {
    std::filesystem::path path =
        std::filesystem::path(testing_support::PuzzleSetDir()) / "qqwing_generated_800.csv";
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << "cannot read " << path.string();
    std::vector<QqwingRow> rows;
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream cells(line);
        for (std::string field; std::getline(cells, field, ',');) {
            fields.push_back(field);
        }
        EXPECT_EQ(fields.size(), 12u) << line;
        if (fields.size() != 12) {
            continue;
        }
        QqwingRow row;
        row.puzzle = Parsed(fields[0]);
        row.solution = Parsed(fields[1]);
        row.hiddenSingles = std::stoi(fields[4]);
        for (int i = 5; i <= 8; ++i) {
            row.beyondSingles += std::stoi(fields[i]);
        }
        row.guesses = std::stoi(fields[9]);
        row.difficulty = fields[11];
        rows.push_back(row);
    }
    return rows;
}

// qqwing's logic is a subset of ours, so whatever it solved without guessing we solve with
// no more than it used; and where it had to guess, the singles alone do not do.
TEST(GraderOnPuzzleSets, AgreesWithQqwingCounts) {
    auto rows = ReadQqwingRows();
    // 200 of each level, or the sample's first 10 of each.
    ASSERT_EQ(rows.size(), testing_support::ReadingFullSets() ? 800u : 40u);
    for (const QqwingRow& row : rows) {
        Grade grade = GradePuzzle(row.puzzle);
        std::string where = FormatLine(row.puzzle) + " " + row.difficulty;
        if (row.guesses == 0 && row.beyondSingles == 0) {
            EXPECT_TRUE(grade.SolvedBySingles()) << where;
            if (row.hiddenSingles == 0) {
                EXPECT_EQ(grade.hardest, Technique::NakedSingle) << where;
            }
        }
        if (row.guesses == 0) {
            EXPECT_TRUE(grade.SolvedByMediumSet()) << where;
        } else {
            EXPECT_FALSE(grade.SolvedBySingles()) << where;
        }
        ExpectTrueTo(row.puzzle, grade, row.solution);
    }
}

}  // namespace
}  // namespace sudoku
