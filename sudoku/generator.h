#pragma once

#include <optional>

#include "sudoku/grid.h"
#include "sudoku/solver.h"

namespace sudoku {

// The three difficulty classes a player can ask for, by the techniques a person needs:
//   Easy:   naked and hidden singles alone solve it;
//   Medium: singles are not enough, and locked candidates (pointing, claiming) with naked
//           and hidden pairs and triples are;
//   Hard:   that set is not enough either (an X-Wing, Swordfish, XY-Wing, a chain or trial
//           is needed), and the puzzle is minimal: no given can go without losing
//           uniqueness.
enum class Level { Easy, Medium, Hard };

// The class for a level number of the engine's "genera": 50 Easy, 65 Medium, 81 Hard, and
// any other number from 0 to 81 the nearest of these (0-57 Easy, 58-73 Medium, 74-81 Hard).
// Nothing outside 0 to 81.
std::optional<Level> LevelForNumber(int levelNumber);

struct GeneratedPuzzle {
    Grid puzzle;
    Grid solution;
};

// The least room, in empty cells, in which Generate still makes each class. A Medium
// puzzle needs cells the singles cannot reach; a Hard one, being minimal, rarely has more
// than 28 givens. Near these limits a try succeeds one time in five or six.
inline constexpr int kMediumMinEmptied = 30;
inline constexpr int kHardMinEmptied = 56;

// A new puzzle of that class with exactly one solution and at most maxEmptied empty cells
// (taken as 0 to 81). With less room than its class needs, the puzzle is of the hardest
// class that fits: Hard gives way to Medium, Medium to Easy; so it is too, against odds far
// too small to matter, when 200 tries in a row miss the class. maxEmptied 0 gives the full
// solved grid. Deterministic for a given state of random, which it advances.
GeneratedPuzzle Generate(Level level, int maxEmptied, Random& random);

}  // namespace sudoku
