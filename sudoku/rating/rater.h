#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <variant>

#include "sudoku/grid.h"
#include "sudoku/rating/position.h"
#include "sudoku/rating/step.h"

namespace sudoku::rating {

// A puzzle's rating: the difficulty of the hardest step on the path that always takes the
// easiest step available, and that step's technique.
struct Rating {
    int difficulty = 0;  // times ten, as Step::difficulty
    Technique hardest = Technique::HiddenSingle;
    std::string hardestName;
    int steps = 0;
};

// Why a grid has no rating.
enum class Unrated {
    BrokenRules,  // a digit stands twice in a house
    NoSolution,
    SeveralSolutions,
    BeyondTechniques,  // no technique of the scale finds a step
    Stopped,           // RatingLimits::stop was raised before the rating was done
};

struct RatingLimits {
    // Stop as soon as a step harder than this is needed: the rating returned is then above
    // the ceiling, that step's or the least a technique not tried could give, which is enough
    // to tell a puzzle is too hard for a band, and far quicker.
    int ceiling = 1000;
    // When given and raised (from any thread), the rating stops before its next step: within
    // a few seconds even on the hardest puzzles known, within milliseconds on most.
    const std::atomic<bool>* stop = nullptr;
};

// Rates puzzle. Safe to call from several threads at once.
std::variant<Rating, Unrated> RatePuzzle(const Grid& puzzle, const RatingLimits& limits = {});

// The easiest step available in position, the one the rating takes; nothing when the
// position is solved or no technique finds a step.
std::optional<Step> NextStep(const Position& position);

// Applies step to position: places its digits, then rules out its eliminations.
void ApplyStep(const Step& step, Position& position);

}  // namespace sudoku::rating
