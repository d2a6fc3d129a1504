#pragma once

#include <optional>
#include <random>

#include "sudoku/grid.h"

namespace sudoku {

// The generator's source of randomness. Every function that takes one is deterministic for
// a given seed.
using Random = std::mt19937_64;

// Counts the solutions of puzzle, stopping as soon as limit (at least 1) are found, and
// writes the first solution found into *solution when asked. A grid that breaks a rule has
// no solution. Safe to call from several threads at once: all state is local.
int CountSolutions(const Grid& puzzle, int limit, Grid* solution = nullptr);

// The solution of puzzle, or nothing when it has none; with several, one of them.
std::optional<Grid> Solve(const Grid& puzzle);

// Exactly one solution.
inline bool HasUniqueSolution(const Grid& puzzle) {
    return CountSolutions(puzzle, 2) == 1;
}

// A solved grid drawn at random (every solved grid can come out).
Grid RandomSolvedGrid(Random& random);

}  // namespace sudoku
