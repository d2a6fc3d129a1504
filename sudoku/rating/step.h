#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sudoku/rating/position.h"

namespace sudoku::rating {

// The techniques of the rating scale, easiest first: the order in which the rater tries
// them (within the direct ones and within the rest), which is the order that makes its
// number the scale's number. A family may hold several variants (types of a unique
// rectangle, cell or region forcing chains); Step::name tells them apart.
enum class Technique : std::uint8_t {
    HiddenSingle,             // 1.0 last cell of a house, 1.2 in a box, 1.5 in a row or column
    DirectPointing,           // 1.7: a pointing that leaves a hidden single
    DirectClaiming,           // 1.9: a claiming that leaves a hidden single
    DirectHiddenPair,         // 2.0: a hidden pair that leaves a hidden single
    NakedSingle,              // 2.3
    DirectHiddenTriplet,      // 2.5: a hidden triplet that leaves a hidden single
    Pointing,                 // 2.6
    Claiming,                 // 2.8
    NakedPair,                // 3.0
    XWing,                    // 3.2
    HiddenPair,               // 3.4
    NakedTriplet,             // 3.6
    Swordfish,                // 3.8
    HiddenTriplet,            // 4.0
    TurbotFish,               // 4.0 skyscraper, 4.1 two-string kite, 4.2 turbot crane
    XYWing,                   // 4.2
    XYZWing,                  // 4.4
    UniqueLoop,               // 4.5 to 5.0 and up: unique rectangles and loops, types 1 to 4
    NakedQuad,                // 5.0
    Jellyfish,                // 5.2
    HiddenQuad,               // 5.4
    ThreeStrongLinks,         // 5.4 to 5.6: turbot fish with three strong links
    WXYZWing,                 // 5.5, 5.6: an almost locked set of three cells and a bivalue cell
    BivalueUniversalGrave,    // 5.6 and up
    VWXYZWing,                // 6.2 to 6.4: an almost locked set of four cells and a bivalue cell
    AlignedPairExclusion,     // 6.2
    ForcingChainCycle,        // 6.5 and up: bidirectional cycles, forcing X-chains and chains
    AlignedTripletExclusion,  // 7.5
    NishioForcingChain,       // 7.5 and up
    MultipleForcingChain,     // 8.0 and up: cell and region forcing chains
    DynamicForcingChain,      // 8.5 and up
    DynamicForcingChainPlus,  // 9.0 and up: dynamic chains helped by the basic techniques
    NestedForcingChain,       // 9.5 and up: chains helped by chains
};

// One step of the solution as a person makes it: what it changes and what it rests on.
struct Step {
    Technique technique = Technique::HiddenSingle;
    // The scale's number times ten (23 for 2.3), chain length and pattern size included.
    int difficulty = 0;
    // The scale's own name of the technique as used here: "Hidden Single", "Naked Pair",
    // "Unique Rectangle type 2", "Dynamic Cell Forcing Chains".
    std::string name;

    // What the step does: digits it places (the singles and the direct techniques place one)
    // and candidates it rules out. At least one of the two is not empty.
    std::vector<Candidate> placements;
    std::vector<Candidate> eliminations;

    // What a player is shown: the candidates that make the pattern (for a hidden single the
    // digit in its cell, for a fish its base candidates, for a chain its links' candidates),
    // the houses it lies in, and the digits it is about.
    std::vector<Candidate> pattern;
    std::vector<int> houses;
    Digits digits = 0;

    // The candidates whose absence the pattern relies on (the cells of a pointing's box
    // outside the line, for the digit; the other digits of a naked set's cells). A chain that
    // reasons with this technique takes, as the step's causes, those of them that its own
    // assumptions ruled out.
    std::vector<Candidate> premises;

    // For chains, the reasoning a player can follow: each branch is a sequence of links from
    // an assumption to the conclusion, each link a candidate made true (on) or false (off).
    struct Link {
        Candidate candidate;
        bool on = false;
    };
    std::vector<std::vector<Link>> branches;
};

// Formats a difficulty in tenths with one decimal: 23 gives "2.3".
std::string DifficultyText(int difficulty);

}  // namespace sudoku::rating
