// The sentences a player reads for a step, one technique family each.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sudoku/rating/step_text.h"

namespace sudoku::rating {
namespace {

Candidate At(int row, int column, int digit) {
    return {static_cast<std::uint8_t>((row - 1) * 9 + column - 1),
            static_cast<std::uint8_t>(digit)};
}

Step Made(Technique technique, int difficulty, const char* name) {
    Step step;
    step.technique = technique;
    step.difficulty = difficulty;
    step.name = name;
    return step;
}

TEST(StepSentence, TellsEachFamilyInThePlayersWordsCountingFromOne) {
    std::vector<std::pair<Step, std::string>> cases;

    Step single = Made(Technique::HiddenSingle, 12, "Hidden Single");
    single.placements = single.pattern = {At(5, 2, 7)};
    single.houses = {3};
    cases.emplace_back(single, "Hidden single: in box 4, 7 fits only in row 5, column 2");

    Step naked = Made(Technique::NakedSingle, 23, "Naked Single");
    naked.placements = {At(9, 9, 3)};
    cases.emplace_back(naked, "Naked single: row 9, column 9 can hold only 3");

    Step pair = Made(Technique::NakedPair, 30, "Naked Pair");
    pair.eliminations = {At(3, 2, 2), At(3, 9, 5)};
    pair.pattern = {At(3, 4, 2), At(3, 4, 5), At(3, 7, 2), At(3, 7, 5)};
    pair.houses = {kFirstRow + 2};
    pair.digits = DigitBit(2) | DigitBit(5);
    cases.emplace_back(pair,
                       "Naked pair: row 3, columns 4 and 7 hold only 2 and 5, so 2 and 5 leave the "
                       "rest of row 3");

    Step wing = Made(Technique::XWing, 32, "X-Wing");
    wing.eliminations = {At(4, 3, 4), At(9, 8, 4)};
    wing.pattern = {At(2, 3, 4), At(2, 8, 4), At(6, 3, 4), At(6, 8, 4)};
    wing.digits = DigitBit(4);
    cases.emplace_back(wing,
                       "X-wing: in rows 2 and 6, 4 fits only in columns 3 and 8, so 4 leaves the "
                       "rest of columns 3 and 8");

    // Strong links are every other house: here columns 2 and 6, joined by row 4.
    Step skyscraper = Made(Technique::TurbotFish, 40, "Skyscraper");
    skyscraper.eliminations = {At(1, 5, 6)};
    skyscraper.pattern = {At(1, 2, 6), At(4, 2, 6), At(4, 6, 6), At(2, 6, 6)};
    skyscraper.houses = {kFirstColumn + 1, kFirstRow + 3, kFirstColumn + 5};
    skyscraper.digits = DigitBit(6);
    cases.emplace_back(skyscraper,
                       "Skyscraper: 6 has only two places in column 2 and column 6, linked so "
                       "that one end of the chain or the other holds 6, so 6 leaves row 1, "
                       "column 5");

    Step chain = Made(Technique::ForcingChainCycle, 70, "Forcing Chain");
    chain.eliminations = {At(5, 5, 7)};
    chain.branches = {{{At(1, 2, 4), true}, {At(1, 5, 4), false}, {At(5, 5, 7), false}}};
    cases.emplace_back(chain,
                       "Forcing chain: if row 1, column 2 were 4, row 1, column 5 would not be 4, "
                       "row 5, column 5 would not be 7, so row 5, column 5 cannot be 7");

    // A long branch keeps its first and last links.
    Step dynamic = Made(Technique::DynamicForcingChain, 85, "Dynamic Forcing Chains");
    dynamic.eliminations = {At(1, 1, 1)};
    dynamic.branches = {{{At(1, 1, 1), true}}};
    for (int column = 2; column <= 9; ++column) {
        dynamic.branches[0].push_back({At(1, column, 1), false});
    }
    cases.emplace_back(dynamic,
                       "Dynamic forcing chains: if row 1, column 1 were 1, row 1, column 2 would "
                       "not be 1, row 1, column 3 would not be 1, row 1, column 4 would not be 1, "
                       "..., row 1, column 8 would not be 1, row 1, column 9 would not be 1, so "
                       "row 1, column 1 cannot be 1");

    for (const auto& [step, sentence] : cases) {
        EXPECT_EQ(StepSentence(step), sentence);
    }
    EXPECT_EQ(HouseName(kFirstColumn + 6), "column 7");
}

}  // namespace
}  // namespace sudoku::rating
