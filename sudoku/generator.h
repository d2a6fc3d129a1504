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

// A new puzzle of that class with exactly one solution and at most maxEmptied empty cells
// (0 to 81). Deterministic for a given state of random.
GeneratedPuzzle Generate(Level level, int maxEmptied, Random& random);

}  // namespace sudoku
