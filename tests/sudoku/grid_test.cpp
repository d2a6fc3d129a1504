#include "sudoku/grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

namespace sudoku {
namespace {

constexpr std::string_view kSolved =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

Grid Solved() {
    return ParseLine(kSolved).value();
}

TEST(ParseLineTest, ReadsDigitsRowByRow) {
    auto grid = ParseLine(kSolved);
    ASSERT_TRUE(grid.has_value());
    EXPECT_EQ(grid->At(0, 0), 5);
    EXPECT_EQ(grid->At(0, 8), 2);
    EXPECT_EQ(grid->At(1, 0), 6);
    EXPECT_EQ(grid->At(8, 8), 9);
    EXPECT_EQ(grid->cells[40], 5);
}

TEST(ParseLineTest, TakesDotsAndZerosAsEmptyCells) {
    std::string text(81, '.');
    text[3] = '0';
    text[4] = '7';
    auto grid = ParseLine(text);
    ASSERT_TRUE(grid.has_value());
    EXPECT_EQ(FilledCount(*grid), 1);
    EXPECT_EQ(grid->cells[3], 0);
    EXPECT_EQ(grid->cells[4], 7);
}

TEST(ParseLineTest, IgnoresWhatFollowsTheFirst81Characters) {
    auto grid = ParseLine(std::string(kSolved) + " 4.5 anything");
    ASSERT_TRUE(grid.has_value());
    EXPECT_EQ(*grid, Solved());
}

TEST(ParseLineTest, RejectsAShortText) {
    EXPECT_FALSE(ParseLine(kSolved.substr(0, 80)).has_value());
    EXPECT_FALSE(ParseLine("").has_value());
}

TEST(ParseLineTest, RejectsAnyOtherCharacterAmongThe81) {
    for (char bad : {' ', 'x', '-', '*', '/', ':', '\n', '\0'}) {
        for (int at : {0, 40, 80}) {
            std::string text(kSolved);
            text[at] = bad;
            EXPECT_FALSE(ParseLine(text).has_value()) << "'" << bad << "' at " << at;
        }
    }
}

TEST(FormatLineTest, WritesBackWhatParseLineRead) {
    std::string text(81, '.');
    text[0] = '9';
    text[80] = '1';
    Grid grid = ParseLine(text).value();
    EXPECT_EQ(FormatLine(grid), text);
    std::string zeros = text;
    std::replace(zeros.begin(), zeros.end(), '.', '0');
    EXPECT_EQ(FormatLine(grid, '0'), zeros);
    EXPECT_EQ(FormatLine(Solved()), kSolved);
}

TEST(GridTest, SetWritesTheCellAtReads) {
    Grid grid;
    grid.Set(4, 7, 3);
    EXPECT_EQ(grid.At(4, 7), 3);
    EXPECT_EQ(grid.cells[4 * 9 + 7], 3);
    EXPECT_EQ(FilledCount(grid), 1);
}

TEST(GridTest, BoxOfNumbersBoxesLeftToRightTopToBottom) {
    EXPECT_EQ(BoxOf(0, 0), 0);
    EXPECT_EQ(BoxOf(2, 2), 0);
    EXPECT_EQ(BoxOf(0, 3), 1);
    EXPECT_EQ(BoxOf(2, 8), 2);
    EXPECT_EQ(BoxOf(3, 0), 3);
    EXPECT_EQ(BoxOf(4, 4), 4);
    EXPECT_EQ(BoxOf(5, 6), 5);
    EXPECT_EQ(BoxOf(8, 0), 6);
    EXPECT_EQ(BoxOf(6, 5), 7);
    EXPECT_EQ(BoxOf(8, 8), 8);
}

TEST(FollowsTheRulesTest, AcceptsTheEmptyAndASolvedGrid) {
    EXPECT_TRUE(FollowsTheRules(Grid{}));
    EXPECT_TRUE(FollowsTheRules(Solved()));
}

TEST(FollowsTheRulesTest, CatchesADigitTwiceInARow) {
    Grid grid;
    grid.Set(3, 0, 6);
    grid.Set(3, 8, 6);
    EXPECT_FALSE(FollowsTheRules(grid));
}

TEST(FollowsTheRulesTest, CatchesADigitTwiceInAColumn) {
    Grid grid;
    grid.Set(0, 5, 6);
    grid.Set(8, 5, 6);
    EXPECT_FALSE(FollowsTheRules(grid));
}

TEST(FollowsTheRulesTest, CatchesADigitTwiceInABoxOffItsRowsAndColumns) {
    Grid grid;
    grid.Set(6, 6, 9);
    grid.Set(8, 7, 9);
    EXPECT_FALSE(FollowsTheRules(grid));
}

TEST(FollowsTheRulesTest, AllowsTheSameDigitInDifferentRowsColumnsAndBoxes) {
    Grid grid;
    grid.Set(0, 0, 6);
    grid.Set(1, 3, 6);
    grid.Set(3, 1, 6);
    grid.Set(8, 8, 6);
    EXPECT_TRUE(FollowsTheRules(grid));
}

TEST(FollowsTheRulesTest, CatchesADigitAboveNine) {
    Grid grid;
    grid.cells[10] = 10;
    EXPECT_FALSE(FollowsTheRules(grid));
}

TEST(IsSolvedTest, NeedsEveryCellFilledAndNoRuleBroken) {
    Grid grid = Solved();
    EXPECT_TRUE(IsSolved(grid));
    grid.cells[50] = 0;
    EXPECT_FALSE(IsSolved(grid));
    Grid swapped = Solved();
    std::swap(swapped.cells[0], swapped.cells[1]);  // two columns now repeat a digit
    EXPECT_FALSE(IsSolved(swapped));
    EXPECT_FALSE(IsSolved(Grid{}));
}

TEST(AgreesTest, ComparesOnlyTheGivensOfThePuzzle) {
    Grid puzzle;
    puzzle.cells[0] = 5;
    puzzle.cells[80] = 9;
    EXPECT_TRUE(Agrees(puzzle, Solved()));
    EXPECT_TRUE(Agrees(Grid{}, Solved()));
    puzzle.cells[80] = 8;
    EXPECT_FALSE(Agrees(puzzle, Solved()));
    // An empty cell of the other grid does not hold the given.
    Grid partial = Solved();
    partial.cells[0] = 0;
    EXPECT_FALSE(Agrees(Solved(), partial));
}

}  // namespace
}  // namespace sudoku
