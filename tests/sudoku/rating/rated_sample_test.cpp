#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <variant>

#include "sudoku/rating/rater.h"

namespace sudoku::rating {
namespace {

// Up to the unique loops of 8 cells (4.7) the rater has every technique the scale used on
// these puzzles, so its rating must be the scale's exactly, and a puzzle the scale rates harder
// must need more than that here too.
constexpr int kExactUpTo = 47;

TEST(RatedSample, MatchesTheScaleUpToUniqueLoopsAndNeverRatesAHarderPuzzleAsEasy) {
    std::ifstream in(QUILLMARK_PUZZLE_SAMPLE_DIR "/../rating/se_rated_slice.txt");
    ASSERT_TRUE(in.is_open());
    RatingLimits limits;
    limits.ceiling = kExactUpTo;
    std::string line;
    int checked = 0;
    while (std::getline(in, line)) {
        SCOPED_TRACE(line);
        std::istringstream fields(line);
        std::string text;
        double scale = 0;
        fields >> text >> scale;
        const std::optional<Grid> puzzle = ParseLine(text);
        ASSERT_TRUE(puzzle.has_value());
        const int expected = static_cast<int>(scale * 10 + 0.5);
        const auto result = RatePuzzle(*puzzle, limits);
        if (expected <= kExactUpTo) {
            ASSERT_TRUE(std::holds_alternative<Rating>(result));
            EXPECT_EQ(std::get<Rating>(result).difficulty, expected);
        } else if (const Rating* rating = std::get_if<Rating>(&result)) {
            EXPECT_GT(rating->difficulty, kExactUpTo);
        } else {
            EXPECT_EQ(std::get<Unrated>(result), Unrated::BeyondTechniques);
        }
        ++checked;
    }
    EXPECT_EQ(checked, 299);
}

}  // namespace
}  // namespace sudoku::rating
