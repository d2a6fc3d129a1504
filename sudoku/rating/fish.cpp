#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/finder_support.h"

namespace sudoku::rating {

using namespace detail;

namespace {

// One pass with base lines from firstBase (kFirstColumn or kFirstRow) and cover lines from
// firstCover; false once the sink stops the search.
bool SearchFish(const Position& position, int size, int firstBase, int firstCover,
                const StepSink& sink) {
    int placed[kSize + 1] = {};
    for (int cell = 0; cell < kCellCount; ++cell) {
        ++placed[position.digits[cell]];
    }
    for (unsigned bases = (1u << size) - 1; bases < (1u << kSize); bases = NextCombination(bases)) {
        for (int digit = 1; digit <= kSize; ++digit) {
            // A fish needs the digit missing from at least two lines per base line.
            if (placed[digit] + 2 * size > kSize) {
                continue;
            }
            unsigned covers = 0;
            bool valid = true;
            for (int i = 0; i < kSize && valid; ++i) {
                if (bases & (1u << i)) {
                    const unsigned places = Places(position, firstBase + i, digit);
                    valid = Count(places) > 1;
                    covers |= places;
                }
            }
            if (!valid || Count(covers) != size) {
                continue;
            }
            Step step;
            for (int j = 0; j < kSize; ++j) {
                if (!(covers & (1u << j))) {
                    continue;
                }
                const auto& cells = HouseCells()[firstCover + j];
                for (int p = 0; p < kSize; ++p) {
                    if (!(bases & (1u << p)) && position.Has(cells[p], digit)) {
                        step.eliminations.push_back(MakeCandidate(cells[p], digit));
                    }
                }
            }
            if (step.eliminations.empty()) {
                continue;
            }
            step.technique = size == 2   ? Technique::XWing
                             : size == 3 ? Technique::Swordfish
                                         : Technique::Jellyfish;
            step.difficulty = size == 2 ? 32 : size == 3 ? 38 : 52;
            step.name = size == 2 ? "X-Wing" : size == 3 ? "Swordfish" : "Jellyfish";
            step.digits = DigitBit(digit);
            for (int i = 0; i < kSize; ++i) {
                if (!(bases & (1u << i))) {
                    continue;
                }
                step.houses.push_back(firstBase + i);
                const auto& cells = HouseCells()[firstBase + i];
                for (int p = 0; p < kSize; ++p) {
                    if (position.Has(cells[p], digit)) {
                        step.pattern.push_back(MakeCandidate(cells[p], digit));
                    } else if (position.digits[cells[p]] == 0 && !(covers & (1u << p))) {
                        step.premises.push_back(MakeCandidate(cells[p], digit));
                    }
                }
            }
            for (int j = 0; j < kSize; ++j) {
                if (covers & (1u << j)) {
                    step.houses.push_back(firstCover + j);
                }
            }
            if (!Emit(sink, std::move(step))) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

// X-wing (3.2), swordfish (3.8), jellyfish (5.2): size base lines where a digit has two or
// more places each, size places in all; the digit goes from the cover lines through those
// places. The scale takes columns as base lines first, then rows, and tries the tuples of
// lines before the digits.
void FindFish(const Position& position, int size, const StepSink& sink) {
    if (SearchFish(position, size, kFirstColumn, kFirstRow, sink)) {
        SearchFish(position, size, kFirstRow, kFirstColumn, sink);
    }
}

}  // namespace sudoku::rating
