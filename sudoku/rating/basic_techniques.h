#pragma once

#include <functional>

#include "sudoku/rating/position.h"
#include "sudoku/rating/step.h"

namespace sudoku::rating {

// Receives each step a finder meets, in the finder's search order; returning false stops the
// search. A finder never changes the position it looks at.
using StepSink = std::function<bool(Step&&)>;

// The techniques below chains, each as the scale defines its pattern and difficulty. The
// direct variants report only patterns that leave a hidden single, and place that digit.
void FindHiddenSingles(const Position& position, const StepSink& sink);
void FindNakedSingles(const Position& position, const StepSink& sink);
// Pointing (a box's digit confined to one line) and claiming (a line's digit confined to one
// box).
void FindLocking(const Position& position, bool direct, const StepSink& sink);
// size 2 to 4.
void FindHiddenSets(const Position& position, int size, bool direct, const StepSink& sink);
void FindNakedSets(const Position& position, int size, const StepSink& sink);
// X-wing (2), swordfish (3), jellyfish (4).
void FindFish(const Position& position, int size, const StepSink& sink);
// Two strong links on one digit joined by a weak link: skyscraper, two-string kite, turbot
// crane.
void FindTurbotFish(const Position& position, const StepSink& sink);
// Three strong links on one digit chained by two weak links.
void FindThreeStrongLinks(const Position& position, const StepSink& sink);
// Three (four) mutually seeing cells holding four (five) digits, and a bivalue cell.
void FindWXYZWings(const Position& position, const StepSink& sink);
void FindVWXYZWings(const Position& position, const StepSink& sink);
void FindXYWings(const Position& position, bool xyz, const StepSink& sink);
void FindUniqueLoops(const Position& position, const StepSink& sink);
void FindBivalueUniversalGrave(const Position& position, const StepSink& sink);
// size 2 (pair) or 3 (triplet).
void FindAlignedExclusion(const Position& position, int size, const StepSink& sink);

}  // namespace sudoku::rating
