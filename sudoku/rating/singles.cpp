#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/finder_support.h"

namespace sudoku::rating {

using namespace detail;

// Hidden single: the only place left for a digit in a house. The scale rates 1.0 when it is
// the house's last empty cell, 1.2 in a box, 1.5 in a row or column, and looks for the last
// empty cells of all houses before any other hidden single.
void FindHiddenSingles(const Position& position, const StepSink& sink) {
    for (const bool lastCellOnly : {true, false}) {
        for (const int house : kBoxColumnRowOrder) {
            const bool lastCell = EmptyCount(position, house) == 1;
            if (lastCell != lastCellOnly) {
                continue;
            }
            for (int digit = 1; digit <= kSize; ++digit) {
                const unsigned places = Places(position, house, digit);
                if (Count(places) != 1) {
                    continue;
                }
                const auto& cells = HouseCells()[house];
                const int cell = cells[std::countr_zero(places)];
                Step step;
                step.technique = Technique::HiddenSingle;
                step.difficulty = lastCell ? 10 : house < kFirstRow ? 12 : 15;
                step.name = "Hidden Single";
                step.placements.push_back(MakeCandidate(cell, digit));
                step.pattern.push_back(MakeCandidate(cell, digit));
                step.houses.push_back(house);
                step.digits = DigitBit(digit);
                for (std::uint8_t other : cells) {
                    if (other != cell && position.digits[other] == 0) {
                        step.premises.push_back(MakeCandidate(other, digit));
                    }
                }
                if (!Emit(sink, std::move(step))) {
                    return;
                }
            }
        }
    }
}

// Naked single: a cell with one candidate left, 2.3; cells in index order.
void FindNakedSingles(const Position& position, const StepSink& sink) {
    for (int cell = 0; cell < kCellCount; ++cell) {
        const Digits candidates = position.candidates[cell];
        if (position.digits[cell] != 0 || Count(candidates) != 1) {
            continue;
        }
        const int digit = std::countr_zero(candidates) + 1;
        Step step;
        step.technique = Technique::NakedSingle;
        step.difficulty = 23;
        step.name = "Naked Single";
        step.placements.push_back(MakeCandidate(cell, digit));
        step.pattern.push_back(MakeCandidate(cell, digit));
        step.digits = candidates;
        for (int other = 1; other <= kSize; ++other) {
            if (other != digit) {
                step.premises.push_back(MakeCandidate(cell, other));
            }
        }
        if (!Emit(sink, std::move(step))) {
            return;
        }
    }
}

}  // namespace sudoku::rating
