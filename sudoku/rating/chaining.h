#pragma once

#include <optional>

#include "sudoku/rating/position.h"
#include "sudoku/rating/step.h"

namespace sudoku::rating {

// The scale's chaining rules, in the order the rater tries them (aligned triplet exclusion,
// which is no chain, comes between the first two).
enum class ChainRule {
    Cycles,          // bidirectional X- and Y-cycles, forcing X-chains and chains: 6.5 and up
    Nishio,          // 7.5 and up
    Multiple,        // cell and region forcing chains: 8.0 and up
    Dynamic,         // dynamic contradiction, double, cell and region chains: 8.5 and up
    DynamicPlus,     // dynamic chains helped by the basic techniques: 9.0 and up
    NestedChains,    // dynamic chains helped by forcing chains: 9.5 and up
    NestedMultiple,  // ... by multiple forcing chains: 10.0 and up
    NestedDynamic,   // ... by dynamic forcing chains: 10.5 and up
    NestedPlus,      // ... by dynamic forcing chains (+): 11.0 and up
};

// The easiest step the rule finds in position (the least difficulty, then the shortest chain,
// then the kind the scale lists first; among equals the first found), or nothing. The nested
// rules work within a bounded effort (see chaining.cpp): past it they return the easiest step
// found so far, which is sound but may be harder than the easiest there is. Safe to call from
// several threads at once.
std::optional<Step> FindEasiestChain(const Position& position, ChainRule rule);

}  // namespace sudoku::rating
