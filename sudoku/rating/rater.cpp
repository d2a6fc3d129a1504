#include "sudoku/rating/rater.h"

#include <algorithm>
#include <limits>

#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/chaining.h"
#include "sudoku/solver.h"

namespace sudoku::rating {

namespace {

// Runs a finder and keeps the first step it reports, as the scale's rater does.
template <typename Finder>
std::optional<Step> First(Finder&& finder) {
    std::optional<Step> found;
    finder([&found](Step&& step) {
        found = std::move(step);
        return false;
    });
    return found;
}

// A producer of the scale, with the least difficulty of any step it can find.
struct Producer {
    int least;
    std::optional<Step> (*find)(const Position&);
};

// The scale's producers in its order, which is also the order of their least difficulties;
// each gives its first step (the chains their easiest).
constexpr Producer kProducers[] = {
    {10, [](const Position& p) { return First([&](auto sink) { FindHiddenSingles(p, sink); }); }},
    {17, [](const Position& p) { return First([&](auto sink) { FindLocking(p, true, sink); }); }},
    {20,
     [](const Position& p) { return First([&](auto sink) { FindHiddenSets(p, 2, true, sink); }); }},
    {23, [](const Position& p) { return First([&](auto sink) { FindNakedSingles(p, sink); }); }},
    {25,
     [](const Position& p) { return First([&](auto sink) { FindHiddenSets(p, 3, true, sink); }); }},
    {26, [](const Position& p) { return First([&](auto sink) { FindLocking(p, false, sink); }); }},
    {30, [](const Position& p) { return First([&](auto sink) { FindNakedSets(p, 2, sink); }); }},
    {32, [](const Position& p) { return First([&](auto sink) { FindFish(p, 2, sink); }); }},
    {34,
     [](const Position& p) {
         return First([&](auto sink) { FindHiddenSets(p, 2, false, sink); });
     }},
    {36, [](const Position& p) { return First([&](auto sink) { FindNakedSets(p, 3, sink); }); }},
    {38, [](const Position& p) { return First([&](auto sink) { FindFish(p, 3, sink); }); }},
    {40,
     [](const Position& p) {
         return First([&](auto sink) { FindHiddenSets(p, 3, false, sink); });
     }},
    {40, [](const Position& p) { return First([&](auto sink) { FindTurbotFish(p, sink); }); }},
    {42, [](const Position& p) { return First([&](auto sink) { FindXYWings(p, false, sink); }); }},
    {44, [](const Position& p) { return First([&](auto sink) { FindXYWings(p, true, sink); }); }},
    {45, [](const Position& p) { return First([&](auto sink) { FindUniqueLoops(p, sink); }); }},
    {50, [](const Position& p) { return First([&](auto sink) { FindNakedSets(p, 4, sink); }); }},
    {52, [](const Position& p) { return First([&](auto sink) { FindFish(p, 4, sink); }); }},
    {54,
     [](const Position& p) {
         return First([&](auto sink) { FindHiddenSets(p, 4, false, sink); });
     }},
    {54,
     [](const Position& p) { return First([&](auto sink) { FindThreeStrongLinks(p, sink); }); }},
    {55, [](const Position& p) { return First([&](auto sink) { FindWXYZWings(p, sink); }); }},
    {56,
     [](const Position& p) {
         return First([&](auto sink) { FindBivalueUniversalGrave(p, sink); });
     }},
    {62, [](const Position& p) { return First([&](auto sink) { FindVWXYZWings(p, sink); }); }},
    {62,
     [](const Position& p) { return First([&](auto sink) { FindAlignedExclusion(p, 2, sink); }); }},
    {65, [](const Position& p) { return FindEasiestChain(p, ChainRule::Cycles); }},
    {75,
     [](const Position& p) { return First([&](auto sink) { FindAlignedExclusion(p, 3, sink); }); }},
    {75, [](const Position& p) { return FindEasiestChain(p, ChainRule::Nishio); }},
    {80, [](const Position& p) { return FindEasiestChain(p, ChainRule::Multiple); }},
    {85, [](const Position& p) { return FindEasiestChain(p, ChainRule::Dynamic); }},
    {90, [](const Position& p) { return FindEasiestChain(p, ChainRule::DynamicPlus); }},
    {95, [](const Position& p) { return FindEasiestChain(p, ChainRule::NestedChains); }},
    {100, [](const Position& p) { return FindEasiestChain(p, ChainRule::NestedMultiple); }},
    {105, [](const Position& p) { return FindEasiestChain(p, ChainRule::NestedDynamic); }},
    {110, [](const Position& p) { return FindEasiestChain(p, ChainRule::NestedPlus); }},
};

// The easiest step of a producer whose steps can be no harder than ceiling, or nothing; with
// *beyond set to the least difficulty of the first producer not tried (0 when all were).
std::optional<Step> NextStepWithin(const Position& position, int ceiling, int* beyond) {
    *beyond = 0;
    if (position.Solved()) {
        return std::nullopt;
    }
    for (const Producer& producer : kProducers) {
        if (producer.least > ceiling) {
            *beyond = producer.least;
            return std::nullopt;
        }
        if (auto step = producer.find(position)) {
            return step;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<Step> NextStep(const Position& position) {
    int beyond = 0;
    return NextStepWithin(position, std::numeric_limits<int>::max(), &beyond);
}

void ApplyStep(const Step& step, Position& position) {
    for (const Candidate& placement : step.placements) {
        position.Place(placement.cell, placement.digit);
    }
    for (const Candidate& elimination : step.eliminations) {
        position.Remove(elimination.cell, elimination.digit);
    }
}

std::variant<Rating, Unrated> RatePuzzle(const Grid& puzzle, const RatingLimits& limits) {
    if (!FollowsTheRules(puzzle)) {
        return Unrated::BrokenRules;
    }
    const int solutions = CountSolutions(puzzle, 2);
    if (solutions == 0) {
        return Unrated::NoSolution;
    }
    if (solutions > 1) {
        return Unrated::SeveralSolutions;
    }
    Position position = Position::FromGrid(puzzle);
    Rating rating;
    while (!position.Solved()) {
        if (limits.stop != nullptr && limits.stop->load(std::memory_order_relaxed)) {
            return Unrated::Stopped;
        }
        int beyond = 0;
        std::optional<Step> step = NextStepWithin(position, limits.ceiling, &beyond);
        if (!step && beyond > 0) {
            // Only harder producers are left: the puzzle is beyond the ceiling.
            rating.difficulty = std::max(rating.difficulty, beyond);
            return rating;
        }
        if (!step) {
            return Unrated::BeyondTechniques;
        }
        ++rating.steps;
        if (step->difficulty > rating.difficulty) {
            rating.difficulty = step->difficulty;
            rating.hardest = step->technique;
            rating.hardestName = step->name;
        }
        if (rating.difficulty > limits.ceiling) {
            return rating;
        }
        const Position before = position;
        ApplyStep(*step, position);
        // A step that changes nothing would repeat for ever.
        if (position == before) {
            return Unrated::BeyondTechniques;
        }
    }
    return rating;
}

}  // namespace sudoku::rating
