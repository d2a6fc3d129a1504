#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/finder_support.h"

namespace sudoku::rating {

using namespace detail;

namespace {

const char* const kSetNames[] = {"Pair", "Triplet", "Quad"};

}  // namespace

// Hidden sets: size digits of a house, each with two or more places, that share exactly size
// places. The scale rates hidden pairs 3.4, triplets 4.0 and quads 5.4, and looks only in houses
// with more than twice size empty cells. The direct variants (pair 2.0, triplet 2.5) need more
// than size empty cells and report a set only when removing the other digits from its cells
// leaves, for the first such digit, one place in the house: the step places that digit.
void FindHiddenSets(const Position& position, int size, bool direct, const StepSink& sink) {
    for (const int house : kBoxColumnRowOrder) {
        const int empty = EmptyCount(position, house);
        if (!(empty > 2 * size || (direct && empty > size))) {
            continue;
        }
        unsigned places[kSize + 1] = {};
        for (int digit = 1; digit <= kSize; ++digit) {
            places[digit] = Places(position, house, digit);
        }
        const auto& cells = HouseCells()[house];
        for (unsigned set = (1u << size) - 1; set < (1u << kSize); set = NextCombination(set)) {
            unsigned common = 0;
            bool valid = true;
            for (int digit = 1; digit <= kSize && valid; ++digit) {
                if (set & (1u << (digit - 1))) {
                    valid = Count(places[digit]) > 1;
                    common |= places[digit];
                }
            }
            if (!valid || Count(common) != size) {
                continue;
            }
            const Digits digits = static_cast<Digits>(set);
            Step step;
            step.houses.push_back(house);
            step.digits = digits;
            for (int p = 0; p < kSize; ++p) {
                const int cell = cells[p];
                if (common & (1u << p)) {
                    for (int digit = 1; digit <= kSize; ++digit) {
                        if (!position.Has(cell, digit)) {
                            continue;
                        }
                        auto& list = (digits & DigitBit(digit)) ? step.pattern : step.eliminations;
                        list.push_back(MakeCandidate(cell, digit));
                    }
                } else if (position.digits[cell] == 0) {
                    for (int digit = 1; digit <= kSize; ++digit) {
                        if (digits & DigitBit(digit)) {
                            step.premises.push_back(MakeCandidate(cell, digit));
                        }
                    }
                }
            }
            if (direct) {
                int single = -1;
                int singleDigit = 0;
                for (int digit = 1; digit <= kSize && single < 0; ++digit) {
                    if ((digits & DigitBit(digit)) || Count(places[digit]) <= 1) {
                        continue;
                    }
                    const unsigned rest = places[digit] & ~common;
                    if (Count(rest) == 1) {
                        single = cells[std::countr_zero(rest)];
                        singleDigit = digit;
                    }
                }
                if (single < 0) {
                    continue;
                }
                step.technique =
                    size == 2 ? Technique::DirectHiddenPair : Technique::DirectHiddenTriplet;
                step.difficulty = size == 2 ? 20 : 25;
                step.name = std::string("Direct Hidden ") + kSetNames[size - 2];
                // The scale's direct step only places the digit: the set's eliminations are
                // shown, not applied.
                step.eliminations.clear();
                step.placements.push_back(MakeCandidate(single, singleDigit));
            } else {
                if (step.eliminations.empty()) {
                    continue;
                }
                step.technique = size == 2   ? Technique::HiddenPair
                                 : size == 3 ? Technique::HiddenTriplet
                                             : Technique::HiddenQuad;
                step.difficulty = size == 2 ? 34 : size == 3 ? 40 : 54;
                step.name = std::string("Hidden ") + kSetNames[size - 2];
            }
            if (!Emit(sink, std::move(step))) {
                return;
            }
        }
    }
}

// Naked sets: size cells of a house, each with two or more candidates, holding exactly size
// digits together; those digits go from the house's other cells. Pairs 3.0, triplets 3.6,
// quads 5.0; the scale looks only in houses with at least twice size empty cells.
void FindNakedSets(const Position& position, int size, const StepSink& sink) {
    for (const int house : kBoxColumnRowOrder) {
        if (EmptyCount(position, house) < 2 * size) {
            continue;
        }
        const auto& cells = HouseCells()[house];
        for (unsigned set = (1u << size) - 1; set < (1u << kSize); set = NextCombination(set)) {
            Digits common = 0;
            bool valid = true;
            for (int p = 0; p < kSize && valid; ++p) {
                if (set & (1u << p)) {
                    valid = Count(position.candidates[cells[p]]) > 1;
                    common |= position.candidates[cells[p]];
                }
            }
            if (!valid || Count(common) != size) {
                continue;
            }
            bool removes = false;
            for (int p = 0; p < kSize && !removes; ++p) {
                removes = !(set & (1u << p)) && (position.candidates[cells[p]] & common);
            }
            if (!removes) {
                continue;
            }
            Step step;
            step.technique = size == 2   ? Technique::NakedPair
                             : size == 3 ? Technique::NakedTriplet
                                         : Technique::NakedQuad;
            step.difficulty = size == 2 ? 30 : size == 3 ? 36 : 50;
            step.name = std::string("Naked ") + kSetNames[size - 2];
            step.houses.push_back(house);
            step.digits = common;
            for (int p = 0; p < kSize; ++p) {
                const int cell = cells[p];
                for (int digit = 1; digit <= kSize; ++digit) {
                    const bool inSet = set & (1u << p);
                    const bool setDigit = common & DigitBit(digit);
                    if (inSet && setDigit && position.Has(cell, digit)) {
                        step.pattern.push_back(MakeCandidate(cell, digit));
                    } else if (inSet && !setDigit) {
                        step.premises.push_back(MakeCandidate(cell, digit));
                    } else if (!inSet && setDigit && position.Has(cell, digit)) {
                        step.eliminations.push_back(MakeCandidate(cell, digit));
                    }
                }
            }
            if (!Emit(sink, std::move(step))) {
                return;
            }
        }
    }
}

}  // namespace sudoku::rating
