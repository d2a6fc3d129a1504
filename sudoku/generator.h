#pragma once

#include <optional>

#include "sudoku/grid.h"
#include "sudoku/solver.h"

namespace sudoku {

// The three difficulty classes a player can ask for, by the puzzle's rating on Sudoku
// Explainer's scale (sudoku/rating/rater.h: the hardest step on the path that always takes
// the easiest one):
//   Easy:   1.0 to 2.3, the singles and the direct techniques (a pointing, claiming or hidden
//           pair that leaves a hidden single);
//   Medium: 2.5 to 4.4, at least an intersection or a subset (a direct hidden triplet the
//           least), at most a swordfish, a skyscraper or kite, or an XY- or XYZ-wing;
//   Hard:   4.5 to 7.2 (unique rectangles, quads, BUG, aligned pair exclusion and the
//           forcing chains of the scale's first chaining rule), and the puzzle is minimal: no
//           given can go without losing uniqueness.
// Hard stops at 7.2 because a step of 7.5 and up is a Nishio or a net, a trial a person makes
// in the head over several branches, not a pattern to spot; rating a puzzle that far also
// costs the rater many times more than the rest of the work. A lower ceiling of 6.6 would
// keep about two in five Hard puzzles, those needing no chain or a short one: one try in
// twelve would succeed instead of one in five (one in twenty-five instead of ten at the
// least room), and the p99 time of a puzzle would grow by half, past 50 ms near that room.
enum class Level { Easy, Medium, Hard };

// A level's ratings, in tenths of the scale (23 for 2.3), both ends included.
struct RatingBand {
    int least = 0;
    int most = 0;
};
RatingBand BandOf(Level level);

// The class for a level number of the engine's "genera": 50 Easy, 65 Medium, 81 Hard, and
// any other number from 0 to 81 the nearest of these (0-57 Easy, 58-73 Medium, 74-81 Hard).
// Nothing outside 0 to 81.
std::optional<Level> LevelForNumber(int levelNumber);

struct GeneratedPuzzle {
    Grid puzzle;
    Grid solution;
};

// The least room, in empty cells, in which Generate still makes each class. A Medium
// puzzle needs cells the direct techniques cannot reach; a Hard one, being minimal, rarely
// has more than 28 givens. Near these limits a try succeeds one time in four (Medium) or
// ten (Hard).
inline constexpr int kMediumMinEmptied = 30;
inline constexpr int kHardMinEmptied = 56;

// A new puzzle of that class with exactly one solution and at most maxEmptied empty cells
// (taken as 0 to 81). With less room than its class needs, the puzzle is of the hardest
// class that fits: Hard gives way to Medium, Medium to Easy; so it is too, against odds far
// too small to matter, when 200 tries in a row miss the class. maxEmptied 0 gives the full
// solved grid. Deterministic for a given state of random, which it advances.
GeneratedPuzzle Generate(Level level, int maxEmptied, Random& random);

}  // namespace sudoku
