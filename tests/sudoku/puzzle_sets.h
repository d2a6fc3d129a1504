#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sudoku/grid.h"

namespace testing_support {

// One line of a public puzzle set: the puzzle and, where the set carries them, its solution
// and its Sudoku Explainer rating.
struct SetPuzzle {
    sudoku::Grid puzzle;
    std::optional<sudoku::Grid> solution;
    std::optional<double> rating;
};

// The folder of the public puzzle sets, or empty when it is not on this machine.
std::string PuzzleSetDir();

// Reads the set file of that name (for instance "17_clue.txt"): every line, or the first
// limit lines. Fails the calling test when the file is present but unreadable.
std::vector<SetPuzzle> ReadPuzzleSet(const std::string& fileName, std::size_t limit = SIZE_MAX);

}  // namespace testing_support

// Skips the test when the public puzzle sets are not on this machine.
#define REQUIRE_PUZZLE_SETS()                                                          \
    do {                                                                               \
        if (::testing_support::PuzzleSetDir().empty()) {                               \
            GTEST_SKIP() << "the public puzzle sets are not at " QUILLMARK_PUZZLE_DIR; \
        }                                                                              \
    } while (false)
