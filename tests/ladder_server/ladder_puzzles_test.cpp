// The puzzles ladder games are dealt.

#include "ladder_server/ladder_puzzles.h"

#include <gtest/gtest.h>

#include <set>

#include "sudoku/grader.h"
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
        const auto grade = sudoku::GradePuzzle(puzzle);
        if (dealt.level == ladder::LadderLevel::Hard) {
            EXPECT_FALSE(grade.SolvedByMediumSet());
        } else {
            EXPECT_FALSE(grade.SolvedBySingles());
            EXPECT_TRUE(grade.SolvedByMediumSet());
        }
        seen.insert(sudoku::FormatLine(puzzle));
    }
    EXPECT_EQ(seen.size(), 6u);
}

}  // namespace
