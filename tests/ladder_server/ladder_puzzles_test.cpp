// The puzzles ladder games are dealt.

#include "ladder_server/service/ladder_puzzles.h"

#include <gtest/gtest.h>

#include <set>
#include <variant>

#include "sudoku/rating/rater.h"
#include "sudoku/solver.h"

namespace {

TEST(LadderPuzzlesTest, DealsUniqueMediumOrHardPuzzlesThatDiffer) {
    std::set<std::string> seen;
    for (int i = 0; i < 6; ++i) {
        const auto dealt = ladder::DealLadderPuzzle();
        const auto& puzzle = dealt.generated.puzzle;
        EXPECT_TRUE(sudoku::HasUniqueSolution(puzzle));
        EXPECT_TRUE(sudoku::IsSolved(dealt.generated.solution));
        EXPECT_TRUE(sudoku::Agrees(puzzle, dealt.generated.solution));
        const int room =
            dealt.level == ladder::LadderLevel::Hard ? ladder::kHardRoom : ladder::kMediumRoom;
        EXPECT_LE(sudoku::kCellCount - sudoku::FilledCount(puzzle), room);
        const auto band = sudoku::BandOf(
            dealt.level == ladder::LadderLevel::Hard ? sudoku::Level::Hard : sudoku::Level::Medium);
        const auto rated = sudoku::rating::RatePuzzle(puzzle, {.ceiling = band.most});
        ASSERT_TRUE(std::holds_alternative<sudoku::rating::Rating>(rated));
        const int difficulty = std::get<sudoku::rating::Rating>(rated).difficulty;
        EXPECT_GE(difficulty, band.least);
        EXPECT_LE(difficulty, band.most);
        seen.insert(sudoku::FormatLine(puzzle));
    }
    EXPECT_EQ(seen.size(), 6u);
}

}  // namespace
