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

// The folder the public puzzle sets are read from: the full sets at QUILLMARK_PUZZLE_DIR where
// this machine has them, else the few lines of each committed in tests/data/puzzles, so that
// a fresh clone still checks the solver and the generator on real puzzles.
std::string PuzzleSetDir();

// Whether PuzzleSetDir() holds the full sets rather than the committed sample; for the few
// checks whose counts depend on the size of a set.
bool ReadingFullSets();

// Reads the set file of that name (for instance "17_clue.txt"): every line, or the first
// limit lines. Fails the calling test when the file is missing or unreadable.
std::vector<SetPuzzle> ReadPuzzleSet(const std::string& fileName, std::size_t limit = SIZE_MAX);

}  // namespace testing_support
