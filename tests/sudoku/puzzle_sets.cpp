#include "tests/sudoku/puzzle_sets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace testing_support {

bool ReadingFullSets() {
    return std::filesystem::is_directory(QUILLMARK_PUZZLE_DIR);
}

std::string PuzzleSetDir() {
    return ReadingFullSets() ? QUILLMARK_PUZZLE_DIR : QUILLMARK_PUZZLE_SAMPLE_DIR;
}

std::vector<SetPuzzle> ReadPuzzleSet(const std::string& fileName, std::size_t limit) {
    std::vector<SetPuzzle> puzzles;
    std::filesystem::path path = std::filesystem::path(PuzzleSetDir()) / fileName;
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << "cannot read " << path.string();
    std::string line;
    while (puzzles.size() < limit && std::getline(in, line)) {
        std::istringstream fields(line);
        std::string puzzleText, second, third;
        fields >> puzzleText >> second >> third;
        auto puzzle = sudoku::ParseLine(puzzleText);
        EXPECT_TRUE(puzzle.has_value()) << fileName << ": " << line;
        if (!puzzle) {
            continue;
        }
        SetPuzzle entry{*puzzle, std::nullopt, std::nullopt};
        // Extra fields: a solution of 81 digits and/or a rating.
        for (const std::string& field : {second, third}) {
            if (field.size() == 81) {
                entry.solution = sudoku::ParseLine(field);
            } else if (!field.empty()) {
                entry.rating = std::stod(field);
            }
        }
        puzzles.push_back(entry);
    }
    return puzzles;
}

}  // namespace testing_support
