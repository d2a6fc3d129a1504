#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>

#include "sudoku/rating/rater.h"

namespace sudoku::rating {
namespace {

// Up to the unique loops of 8 cells (4.7) the rater has every technique the scale used on
// these puzzles and searches them in the scale's order, so its rating must be the scale's.
constexpr int kExactUpTo = 47;

TEST(RatedSample, AgreesWithTheScaleExactlyUpToUniqueLoopsAndAlmostEverywhereAbove) {
    std::ifstream in(QUILLMARK_PUZZLE_SAMPLE_DIR "/../rating/se_rated_slice.txt");
    ASSERT_TRUE(in.is_open());
    std::string line;
    int checked = 0;
    int exact = 0;
    int close = 0;
    while (std::getline(in, line)) {
        SCOPED_TRACE(line);
        std::istringstream fields(line);
        std::string text;
        double scale = 0;
        fields >> text >> scale;
        const std::optional<Grid> puzzle = ParseLine(text);
        ASSERT_TRUE(puzzle.has_value());
        const int expected = static_cast<int>(scale * 10 + 0.5);
        const auto result = RatePuzzle(*puzzle);
        ASSERT_TRUE(std::holds_alternative<Rating>(result));
        const int rated = std::get<Rating>(result).difficulty;
        if (expected <= kExactUpTo) {
            EXPECT_EQ(rated, expected);
        }
        exact += rated == expected;
        close += std::abs(rated - expected) <= 5;
        ++checked;
    }
    ASSERT_EQ(checked, 299);
    // Above, a chain the scale's search meets first can differ in length from ours on a few
    // puzzles (292 of these 299 agree exactly today, 297 within 0.5): the shares guard against a
    // technique that goes wrong, which moves far more than that.
    EXPECT_GE(exact, 284);
    EXPECT_GE(close, 293);
}

}  // namespace
}  // namespace sudoku::rating
