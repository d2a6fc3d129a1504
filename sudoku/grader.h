#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "sudoku/grid.h"

namespace sudoku {

// The techniques a person solves with, easiest first. Each removes only candidates that no
// solution has, so a puzzle they solve has exactly one solution.
enum class Technique : std::uint8_t {
    NakedSingle,       // a cell with one candidate left
    HiddenSingle,      // a digit with one place left in a row, column or box
    LockedCandidates,  // pointing (box to line) and claiming (line to box)
    NakedPair,
    HiddenPair,
    NakedTriple,
    HiddenTriple,
    XWing,
    Swordfish,
    XYWing,
    Trial,  // none of the above is enough: chains, nets or guessing are needed
};
inline constexpr int kTechniqueCount = 11;

// The hardest technique of the singles and of the medium set (singles, locked candidates,
// naked and hidden pairs and triples).
inline constexpr Technique kSingles = Technique::HiddenSingle;
inline constexpr Technique kMediumSet = Technique::HiddenTriple;

// Lower-case English, for reports: "naked single", "x-wing", "trial".
std::string_view TechniqueName(Technique technique);

struct Grade {
    // The hardest technique on the easiest-first path to the solution; Trial when the
    // techniques tried leave the puzzle unsolved or it has no solution. A full grid, which
    // needs nothing, grades NakedSingle. As every technique only removes candidates, this
    // is also the easiest level whose techniques together solve the puzzle.
    Technique hardest = Technique::NakedSingle;
    // How often each technique made progress: singles count digits placed, the others count
    // the patterns that removed candidates.
    std::array<int, kTechniqueCount> uses{};
    // The solution when solved; otherwise the givens and the digits placed before getting
    // stuck.
    Grid grid;

    bool Solved() const { return hardest != Technique::Trial; }
    bool SolvedBySingles() const { return hardest <= kSingles; }
    bool SolvedByMediumSet() const { return hardest <= kMediumSet; }
};

// Solves puzzle as a person would, always with the easiest technique that makes progress,
// and tells what it took. Techniques harder than ceiling are not tried, so a puzzle that
// needs one grades Trial; a low ceiling makes the answer quicker, not different below it.
Grade GradePuzzle(const Grid& puzzle, Technique ceiling = Technique::Trial);

}  // namespace sudoku
