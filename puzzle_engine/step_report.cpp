#include "puzzle_engine/step_report.h"

#include <algorithm>
#include <optional>
#include <sstream>
#include <vector>

#include "sudoku/rating/step_text.h"
#include "sudoku/solver.h"

namespace puzzle_engine {

namespace {

using sudoku::rating::Candidate;

std::optional<sudoku::Grid> Exactly81(const std::string& text) {
    if (text.size() != static_cast<std::size_t>(sudoku::kCellCount)) {
        return std::nullopt;
    }
    return sudoku::ParseLine(text);
}

std::string CellList(std::vector<int> cells) {
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    std::string text;
    for (int cell : cells) {
        if (!text.empty()) {
            text += ' ';
        }
        text += std::to_string(cell);
    }
    return text;
}

std::string CandidateList(const std::vector<Candidate>& candidates) {
    std::string text;
    for (const Candidate& candidate : candidates) {
        if (!text.empty()) {
            text += ' ';
        }
        text += std::to_string(candidate.cell) + ":" + std::to_string(candidate.digit);
    }
    return text;
}

void Line(std::string& report, const char* key, const std::string& value) {
    if (!value.empty()) {
        report += std::string(key) + "=" + value + "\n";
    }
}

std::string Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    }
    return text;
}

std::string Report(const char* kind, const std::string& sentence) {
    std::string report;
    Line(report, "kind", kind);
    Line(report, "text", sentence + ".");
    return report;
}

std::string MistakeReport(const sudoku::Grid& board, const std::vector<int>& wrong) {
    std::vector<std::string> parts;
    for (int cell : wrong) {
        parts.push_back(sudoku::rating::CellName(cell) + " (" + std::to_string(board.cells[cell]) +
                        ")");
    }
    const std::string names = sudoku::rating::ListText(parts);
    const bool one = wrong.size() == 1;
    std::string report =
        Report("mistake", Capitalised(names) + (one ? " does" : " do") +
                              " not fit the puzzle's solution: put " + (one ? "it" : "them") +
                              " right before the next step");
    Line(report, "mistakes", CellList(wrong));
    return report;
}

// The "cell:digit" pairs of text that name a candidate; anything else is skipped.
std::vector<Candidate> ParseCandidates(const std::string& text) {
    std::vector<Candidate> candidates;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        int cell = -1;
        int digit = 0;
        char colon = 0;
        std::istringstream pair(word);
        if (pair >> cell >> colon >> digit && colon == ':' && cell >= 0 &&
            cell < sudoku::kCellCount && digit >= 1 && digit <= 9) {
            candidates.push_back(
                {static_cast<std::uint8_t>(cell), static_cast<std::uint8_t>(digit)});
        }
    }
    return candidates;
}

}  // namespace

std::string RatingText(const std::variant<sudoku::rating::Rating, sudoku::rating::Unrated>& rated) {
    if (const auto* rating = std::get_if<sudoku::rating::Rating>(&rated)) {
        return sudoku::rating::DifficultyText(rating->difficulty) + "|" + rating->hardestName;
    }
    return std::get<sudoku::rating::Unrated>(rated) == sudoku::rating::Unrated::BeyondTechniques
               ? "?|"
               : "";
}

std::string ExplainStep(const std::string& puzzleText, const std::string& boardText,
                        const std::string& ruledOut) {
    const std::optional<sudoku::Grid> puzzle = Exactly81(puzzleText);
    std::optional<sudoku::Grid> board = Exactly81(boardText);
    if (!puzzle || !board) {
        return {};
    }
    sudoku::Grid solution;
    if (sudoku::CountSolutions(*puzzle, 2, &solution) != 1) {
        return Report("nopuzzle",
                      "The locked digits are no puzzle with exactly one solution, so there is no "
                      "step to explain");
    }
    std::vector<int> wrong;
    for (int cell = 0; cell < sudoku::kCellCount; ++cell) {
        if (puzzle->cells[cell] != 0) {
            board->cells[cell] = puzzle->cells[cell];
        } else if (board->cells[cell] != 0 && board->cells[cell] != solution.cells[cell]) {
            wrong.push_back(cell);
        }
    }
    if (!wrong.empty()) {
        return MistakeReport(*board, wrong);
    }
    if (*board == solution) {
        return Report("solved", "The puzzle is solved");
    }
    sudoku::rating::Position position = sudoku::rating::Position::FromGrid(*board);
    for (const Candidate& candidate : ParseCandidates(ruledOut)) {
        if (solution.cells[candidate.cell] != candidate.digit) {
            position.Remove(candidate.cell, candidate.digit);
        }
    }
    const std::optional<sudoku::rating::Step> step = sudoku::rating::NextStep(position);
    if (!step) {
        return Report("stuck", "No technique of the rating scale finds a step from here");
    }
    std::vector<int> pattern;
    for (const Candidate& candidate : step->pattern) {
        pattern.push_back(candidate.cell);
    }
    std::vector<int> changed;
    for (const auto* list : {&step->placements, &step->eliminations}) {
        for (const Candidate& candidate : *list) {
            changed.push_back(candidate.cell);
        }
    }
    std::string report = Report("step", sudoku::rating::StepSentence(*step));
    Line(report, "technique", step->name);
    Line(report, "difficulty", sudoku::rating::DifficultyText(step->difficulty));
    Line(report, "pattern", CellList(pattern));
    Line(report, "changed", CellList(changed));
    Line(report, "removes", CandidateList(step->eliminations));
    Line(report, "places", CandidateList(step->placements));
    return report;
}

}  // namespace puzzle_engine
