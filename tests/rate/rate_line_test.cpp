// Reading an input line of quillmark-rate and writing the line it prints.

#include "rate/rate_line.h"

#include <gtest/gtest.h>

#include <string>

namespace rate {
namespace {

using sudoku::rating::Rating;
using sudoku::rating::Unrated;

TEST(RateLineTest, ShowsThePuzzleWithDotsOrTheLineAsItStands) {
    const std::string dots(81, '.');
    struct Case {
        std::string line;
        std::string shown;
        bool puzzle;
    };
    const Case cases[] = {
        {dots, dots, true},
        {dots + " 7.2 a rating after it\n", dots, true},
        {std::string(81, '0') + "\r\n", dots, true},
        {"1" + std::string(80, '0'), "1" + std::string(80, '.'), true},
        {"", "", false},
        {"\r\n", "", false},
        {"short line\r", "short line", false},
        {std::string(80, '.') + "\n", std::string(80, '.'), false},
        {std::string(40, '.') + "x" + std::string(60, '.'),
         std::string(40, '.') + "x" + std::string(40, '.'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        PuzzleLine read = ReadPuzzleLine(c.line);
        EXPECT_EQ(read.shown, c.shown);
        EXPECT_EQ(read.puzzle.has_value(), c.puzzle);
    }
}

TEST(RateLineTest, FormatsARatingOrAReason) {
    Rating rating;
    rating.difficulty = 72;
    rating.hardestName = "Forcing Chain";
    EXPECT_EQ(FormatRated("4..", rating), "4.. 7.2 Forcing Chain");
    rating.difficulty = 10;
    rating.hardestName = "Hidden Single";
    EXPECT_EQ(FormatRated("4..", rating), "4.. 1.0 Hidden Single");
    EXPECT_EQ(FormatUnrated("hello", kNoPuzzle), "hello - no puzzle");
    EXPECT_EQ(FormatUnrated("", kNoPuzzle), " - no puzzle");

    EXPECT_EQ(ReasonText(Unrated::BrokenRules), "breaks the rules");
    EXPECT_EQ(ReasonText(Unrated::NoSolution), "no solution");
    EXPECT_EQ(ReasonText(Unrated::SeveralSolutions), "several solutions");
    EXPECT_EQ(ReasonText(Unrated::BeyondTechniques), "beyond the rater");
    EXPECT_EQ(ReasonText(Unrated::Stopped), "stopped");
}

}  // namespace
}  // namespace rate
