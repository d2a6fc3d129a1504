#include "rate/rate_line.h"

#include "sudoku/rating/step.h"

namespace rate {

PuzzleLine ReadPuzzleLine(std::string_view line) {
    if (line.ends_with('\n')) {
        line.remove_suffix(1);
    }
    if (line.ends_with('\r')) {
        line.remove_suffix(1);
    }
    PuzzleLine read;
    read.puzzle = sudoku::ParseLine(line);
    read.shown = read.puzzle ? sudoku::FormatLine(*read.puzzle)
                             : std::string(line.substr(0, sudoku::kCellCount));
    return read;
}

std::string_view ReasonText(sudoku::rating::Unrated unrated) {
    using sudoku::rating::Unrated;
    switch (unrated) {
        case Unrated::BrokenRules:
            return "breaks the rules";
        case Unrated::NoSolution:
            return "no solution";
        case Unrated::SeveralSolutions:
            return "several solutions";
        case Unrated::BeyondTechniques:
            return "beyond the rater";
        case Unrated::Stopped:
            // Never asked for here: nothing raises a stop.
            return "stopped";
    }
    return "beyond the rater";
}

std::string FormatRated(std::string_view shown, const sudoku::rating::Rating& rating) {
    std::string text(shown);
    text += ' ';
    text += sudoku::rating::DifficultyText(rating.difficulty);
    text += ' ';
    text += rating.hardestName;
    return text;
}

std::string FormatUnrated(std::string_view shown, std::string_view reason) {
    std::string text(shown);
    text += " - ";
    text += reason;
    return text;
}

std::string RateLine(std::string_view line) {
    PuzzleLine read = ReadPuzzleLine(line);
    if (!read.puzzle) {
        return FormatUnrated(read.shown, kNoPuzzle);
    }
    auto rated = sudoku::rating::RatePuzzle(*read.puzzle);
    if (const auto* rating = std::get_if<sudoku::rating::Rating>(&rated)) {
        return FormatRated(read.shown, *rating);
    }
    return FormatUnrated(read.shown, ReasonText(std::get<sudoku::rating::Unrated>(rated)));
}

}  // namespace rate
