#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/finder_support.h"

namespace sudoku::rating {

using namespace detail;

// XY-wing (4.2): a pivot with candidates xy seeing wings xz and yz; z goes from the cells that
// see both wings. XYZ-wing (4.4): a pivot xyz seeing wings xz and yz; z goes from the cells
// that see all three. Pivots in cell order, wings in the order of the pivot's peers.
void FindXYWings(const Position& position, bool xyz, const StepSink& sink) {
    const int pivotSize = xyz ? 3 : 2;
    for (int pivot = 0; pivot < kCellCount; ++pivot) {
        const Digits pivotDigits = position.candidates[pivot];
        if (Count(pivotDigits) != pivotSize) {
            continue;
        }
        for (std::uint8_t first : Peers()[pivot]) {
            const Digits firstDigits = position.candidates[first];
            if (Count(firstDigits) != 2 || Count(pivotDigits & ~firstDigits) != 1) {
                continue;
            }
            for (std::uint8_t second : Peers()[pivot]) {
                const Digits secondDigits = position.candidates[second];
                if (Count(secondDigits) != 2) {
                    continue;
                }
                const Digits all = pivotDigits | firstDigits | secondDigits;
                const Digits shared = pivotDigits & firstDigits & secondDigits;
                if (Count(all) != 3 || Count(shared) != (xyz ? 1 : 0)) {
                    continue;
                }
                const Digits z = firstDigits & secondDigits;
                const int digit = std::countr_zero(z) + 1;
                CellSet victims = PeerSet(first) & PeerSet(second);
                if (xyz) {
                    victims = victims & PeerSet(pivot);
                }
                victims.Erase(pivot);
                Step step;
                victims.ForEach([&](int cell) {
                    if (position.Has(cell, digit)) {
                        step.eliminations.push_back(MakeCandidate(cell, digit));
                    }
                });
                if (step.eliminations.empty()) {
                    continue;
                }
                step.technique = xyz ? Technique::XYZWing : Technique::XYWing;
                step.difficulty = xyz ? 44 : 42;
                step.name = xyz ? "XYZ-Wing" : "XY-Wing";
                step.digits = all;
                for (const int cell :
                     {static_cast<int>(pivot), static_cast<int>(first), static_cast<int>(second)}) {
                    for (int d = 1; d <= kSize; ++d) {
                        if (position.Has(cell, d)) {
                            step.pattern.push_back(MakeCandidate(cell, d));
                        } else {
                            step.premises.push_back(MakeCandidate(cell, d));
                        }
                    }
                }
                if (!Emit(sink, std::move(step))) {
                    return;
                }
            }
        }
    }
}

}  // namespace sudoku::rating
