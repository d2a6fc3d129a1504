#pragma once

// One line of quillmark-rate's input and the line it prints for it: pure text work, no
// threads and no files.

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "sudoku/grid.h"
#include "sudoku/rating/rater.h"

namespace rate {

struct PuzzleLine {
    // What the printed line starts with: the 81 characters of the puzzle with '.' for every
    // blank when they form one; otherwise the line's first 81 characters as they stand (the
    // whole line when shorter), its line end left out.
    std::string shown;
    // The puzzle in the line's first 81 characters; nothing when they are no puzzle.
    std::optional<sudoku::Grid> puzzle;
};

// Reads one input line, with or without its "\n" or "\r\n"; what follows the 81 characters
// is a comment and ignored.
PuzzleLine ReadPuzzleLine(std::string_view line);

// Why a line has no rating, as printed: "no puzzle" when there is no puzzle at all, else
// "breaks the rules", "no solution", "several solutions" or "beyond the rater" ("stopped"
// for a rating stopped on request, which RateLine never makes).
inline constexpr std::string_view kNoPuzzle = "no puzzle";
std::string_view ReasonText(sudoku::rating::Unrated unrated);

// The printed line, without its line end: "<shown> 7.2 <hardest technique>" for a rating,
// "<shown> - <reason>" otherwise.
std::string FormatRated(std::string_view shown, const sudoku::rating::Rating& rating);
std::string FormatUnrated(std::string_view shown, std::string_view reason);

// Reads, rates and formats one input line. Safe to call from several threads at once.
std::string RateLine(std::string_view line);

}  // namespace rate
