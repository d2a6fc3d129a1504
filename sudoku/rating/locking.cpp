#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/finder_support.h"

namespace sudoku::rating {

using namespace detail;

namespace {

// The house number of the index-th house of a kind: 0 boxes, 1 rows, 2 columns.
int HouseOf(int kind, int index) {
    return kind * kSize + index;
}

bool Crosses(int house, int other) {
    return !(HouseSet(house) & HouseSet(other)).Empty();
}

// base is the house whose candidates for digit all lie in cover.
Step MakeLockingStep(const Position& position, int base, int cover, int digit, bool direct) {
    const bool pointing = base < kFirstRow;
    Step step;
    if (direct) {
        step.technique = pointing ? Technique::DirectPointing : Technique::DirectClaiming;
        step.difficulty = pointing ? 17 : 19;
        step.name = pointing ? "Direct Pointing" : "Direct Claiming";
    } else {
        step.technique = pointing ? Technique::Pointing : Technique::Claiming;
        step.difficulty = pointing ? 26 : 28;
        step.name = pointing ? "Pointing" : "Claiming";
    }
    const CellSet& baseCells = HouseSet(base);
    const CellSet& coverCells = HouseSet(cover);
    for (std::uint8_t cell : HouseCells()[base]) {
        if (position.Has(cell, digit)) {
            step.pattern.push_back(MakeCandidate(cell, digit));
        } else if (position.digits[cell] == 0 && !coverCells.Has(cell)) {
            step.premises.push_back(MakeCandidate(cell, digit));
        }
    }
    if (!direct) {
        for (std::uint8_t cell : HouseCells()[cover]) {
            if (!baseCells.Has(cell) && position.Has(cell, digit)) {
                step.eliminations.push_back(MakeCandidate(cell, digit));
            }
        }
    }
    step.houses = {base, cover};
    step.digits = DigitBit(digit);
    return step;
}

// One pass of the scale's search: for each digit, each house of baseKind whose candidates for
// the digit (two or more) all lie in one crossing house of coverKind.
bool SearchLocking(const Position& position, int baseKind, int coverKind, bool direct,
                   const StepSink& sink) {
    for (int digit = 1; digit <= kSize; ++digit) {
        for (int i = 0; i < kSize; ++i) {
            const int base = HouseOf(baseKind, i);
            const unsigned places = Places(position, base, digit);
            if (Count(places) < 2) {
                continue;
            }
            CellSet baseCandidates;
            for (int p = 0; p < kSize; ++p) {
                if (places & (1u << p)) {
                    baseCandidates.Add(HouseCells()[base][p]);
                }
            }
            for (int j = 0; j < kSize; ++j) {
                const int cover = HouseOf(coverKind, j);
                if (!Crosses(base, cover) || !baseCandidates.Minus(HouseSet(cover)).Empty()) {
                    continue;
                }
                if (!direct) {
                    Step step = MakeLockingStep(position, base, cover, digit, false);
                    if (!step.eliminations.empty() && !Emit(sink, std::move(step))) {
                        return false;
                    }
                    continue;
                }
                // The direct variant: another house of the base's kind crossing the cover that
                // the eliminations would leave with one place for the digit.
                for (int k = 0; k < kSize; ++k) {
                    const int other = HouseOf(baseKind, k);
                    if (k == i || !Crosses(other, cover)) {
                        continue;
                    }
                    const unsigned otherPlaces = Places(position, other, digit);
                    if (Count(otherPlaces) < 2) {
                        continue;
                    }
                    int remaining = 0;
                    int single = -1;
                    for (int p = 0; p < kSize; ++p) {
                        const int cell = HouseCells()[other][p];
                        if ((otherPlaces & (1u << p)) && !HouseSet(cover).Has(cell)) {
                            ++remaining;
                            single = cell;
                        }
                    }
                    if (remaining != 1) {
                        continue;
                    }
                    Step step = MakeLockingStep(position, base, cover, digit, true);
                    step.placements.push_back(MakeCandidate(single, digit));
                    step.houses.push_back(other);
                    if (!Emit(sink, std::move(step))) {
                        return false;
                    }
                }
            }
        }
    }
    return true;
}

}  // namespace

// Pointing (2.6) and claiming (2.8); direct pointing (1.7) and direct claiming (1.9) when
// direct. The scale searches boxes against columns, boxes against rows, columns against boxes,
// then rows against boxes, each digit by digit.
void FindLocking(const Position& position, bool direct, const StepSink& sink) {
    constexpr int kBoxes = 0;
    constexpr int kRows = 1;
    constexpr int kColumns = 2;
    static_cast<void>(SearchLocking(position, kBoxes, kColumns, direct, sink) &&
                      SearchLocking(position, kBoxes, kRows, direct, sink) &&
                      SearchLocking(position, kColumns, kBoxes, direct, sink) &&
                      SearchLocking(position, kRows, kBoxes, direct, sink));
}

}  // namespace sudoku::rating
