#include "sudoku/generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <set>
#include <string>
#include <variant>

#include "sudoku/rating/rater.h"
#include "tests/sudoku/reference_solver.h"

namespace sudoku {
namespace {

using testing_support::ReferenceCountSolutions;

int EmptyCount(const Grid& grid) {
    return kCellCount - FilledCount(grid);
}

const char* LevelName(Level level) {
    switch (level) {
        case Level::Easy:
            return "Easy";
        case Level::Medium:
            return "Medium";
        case Level::Hard:
            return "Hard";
    }
    return "?";
}

// No given can go without leaving several solutions.
bool IsMinimal(const Grid& puzzle) {
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (puzzle.cells[cell] == 0) {
            continue;
        }
        Grid fewer = puzzle;
        fewer.cells[cell] = 0;
        if (ReferenceCountSolutions(fewer, 2) < 2) {
            return false;
        }
    }
    return true;
}

// Checks a generated puzzle: one solution, the one given, within maxEmptied, rated in the
// level's band, and for Hard minimal.
void ExpectOfClass(const GeneratedPuzzle& generated, Level level, int maxEmptied) {
    const Grid& puzzle = generated.puzzle;
    SCOPED_TRACE(std::string(LevelName(level)) + " " + FormatLine(puzzle));
    EXPECT_TRUE(IsSolved(generated.solution));
    EXPECT_TRUE(Agrees(puzzle, generated.solution));
    EXPECT_EQ(ReferenceCountSolutions(puzzle, 2), 1);
    EXPECT_LE(EmptyCount(puzzle), maxEmptied);

    // The ceiling keeps a puzzle far too hard from taking long: it still rates above most.
    const RatingBand band = BandOf(level);
    auto rated = rating::RatePuzzle(puzzle, rating::RatingLimits{.ceiling = band.most});
    ASSERT_TRUE(std::holds_alternative<rating::Rating>(rated));
    const int difficulty = std::get<rating::Rating>(rated).difficulty;
    EXPECT_GE(difficulty, band.least);
    EXPECT_LE(difficulty, band.most);
    if (level == Level::Hard) {
        EXPECT_TRUE(IsMinimal(puzzle));
    }
}

struct Batch {
    Level level;
    int maxEmptied;
    int seeds;  // in optimised builds; unoptimised (sanitizer) builds try a fifth of them
};

int SeedCount(const Batch& batch) {
#ifdef NDEBUG
    return batch.seeds;
#else
    return std::max(1, batch.seeds / 5);
#endif
}

std::ostream& operator<<(std::ostream& out, const Batch& batch) {
    return out << LevelName(batch.level) << " within " << batch.maxEmptied;
}

class GeneratorBatch : public testing::TestWithParam<Batch> {};

TEST_P(GeneratorBatch, MakesUniquePuzzlesOfTheClass) {
    const Batch& batch = GetParam();
    std::set<std::string> distinct;
    for (int seed = 1; seed <= SeedCount(batch); ++seed) {
        Random random(static_cast<std::uint64_t>(seed));
        GeneratedPuzzle generated = Generate(batch.level, batch.maxEmptied, random);
        ExpectOfClass(generated, batch.level, batch.maxEmptied);
        distinct.insert(FormatLine(generated.puzzle));
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(SeedCount(batch)));
}

// The engine's limits for each class (50, 65, 81), the least numbers that map to Medium
// and Hard (58, 74), and the least room each class is made in.
INSTANTIATE_TEST_SUITE_P(Levels, GeneratorBatch,
                         testing::Values(Batch{Level::Easy, 50, 200}, Batch{Level::Medium, 65, 150},
                                         Batch{Level::Hard, 81, 60}, Batch{Level::Easy, 57, 50},
                                         Batch{Level::Medium, 58, 50}, Batch{Level::Hard, 74, 30},
                                         Batch{Level::Medium, kMediumMinEmptied, 50},
                                         Batch{Level::Hard, kHardMinEmptied, 30}),
                         [](const testing::TestParamInfo<Batch>& info) {
                             return std::string(LevelName(info.param.level)) + "Within" +
                                    std::to_string(info.param.maxEmptied);
                         });

TEST(Generator, SameSeedSamePuzzles) {
    for (Level level : {Level::Easy, Level::Medium, Level::Hard}) {
        Random first(2024), second(2024);
        for (int i = 0; i < 3; ++i) {
            GeneratedPuzzle a = Generate(level, 81, first);
            GeneratedPuzzle b = Generate(level, 81, second);
            EXPECT_EQ(a.puzzle, b.puzzle) << LevelName(level);
            EXPECT_EQ(a.solution, b.solution) << LevelName(level);
        }
    }
}

TEST(Generator, NoRoomGivesTheFullGrid) {
    for (Level level : {Level::Easy, Level::Medium, Level::Hard}) {
        Random random(5);
        GeneratedPuzzle generated = Generate(level, 0, random);
        EXPECT_EQ(generated.puzzle, generated.solution) << LevelName(level);
        EXPECT_TRUE(IsSolved(generated.puzzle));
    }
}

TEST(Generator, EasyUsesItsRoomWhenSmall) {
    for (int maxEmptied : {1, 5, 12, 20}) {
        Random random(static_cast<std::uint64_t>(maxEmptied));
        GeneratedPuzzle generated = Generate(Level::Easy, maxEmptied, random);
        ExpectOfClass(generated, Level::Easy, maxEmptied);
        // The singles follow so few removals that the room is used in full.
        EXPECT_EQ(EmptyCount(generated.puzzle), maxEmptied);
    }
}

// Too little room for a class gives the hardest class that fits, still with one solution.
TEST(Generator, TooLittleRoomGivesWayToAnEasierClass) {
    for (int seed = 1; seed <= 5; ++seed) {
        Random random(static_cast<std::uint64_t>(seed));
        ExpectOfClass(Generate(Level::Hard, kHardMinEmptied - 1, random), Level::Medium,
                      kHardMinEmptied - 1);
        ExpectOfClass(Generate(Level::Hard, kMediumMinEmptied - 1, random), Level::Easy,
                      kMediumMinEmptied - 1);
        ExpectOfClass(Generate(Level::Medium, kMediumMinEmptied - 1, random), Level::Easy,
                      kMediumMinEmptied - 1);
    }
}

TEST(Generator, RoomOutsideTheGridIsClamped) {
    Random random(9);
    EXPECT_EQ(EmptyCount(Generate(Level::Easy, -4, random).puzzle), 0);
    ExpectOfClass(Generate(Level::Hard, 200, random), Level::Hard, kCellCount);
}

TEST(LevelForNumber, MapsEachNumberToTheNearestLevel) {
    for (int number = 0; number <= 81; ++number) {
        Level expected = number <= 57 ? Level::Easy : number <= 73 ? Level::Medium : Level::Hard;
        EXPECT_EQ(LevelForNumber(number), expected) << number;
    }
    EXPECT_EQ(LevelForNumber(50), Level::Easy);
    EXPECT_EQ(LevelForNumber(65), Level::Medium);
    EXPECT_EQ(LevelForNumber(81), Level::Hard);
}

TEST(LevelForNumber, RefusesNumbersOutsideTheGrid) {
    for (int number : {-1, 82, 100, INT_MIN, INT_MAX}) {
        EXPECT_EQ(LevelForNumber(number), std::nullopt) << number;
    }
}

}  // namespace
}  // namespace sudoku
