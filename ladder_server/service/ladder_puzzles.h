#pragma once

// Deals the puzzle of a new ladder game.

#include "ladder_server/store/store.h"
#include "sudoku/generator.h"

namespace ladder {

// The room, in empty cells, the engine's levels give each class: 65 Medium, 81 Hard.
inline constexpr int kMediumRoom = 65;
inline constexpr int kHardRoom = 81;

struct LadderPuzzle {
    LadderLevel level = LadderLevel::Medium;
    sudoku::GeneratedPuzzle generated;
};

// A fresh puzzle with exactly one solution, Medium or Hard with equal odds. Each thread draws
// from its own generator, seeded from libsodium's, so neither the class nor the puzzle can be
// foretold from earlier games.
LadderPuzzle DealLadderPuzzle();

}  // namespace ladder
