#include <array>
#include <vector>

#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/finder_support.h"

namespace sudoku::rating {

using namespace detail;

namespace {

// The cells that can take part: two or more candidates, no peer with a single candidate, and
// at least one peer with 2 to size candidates (its excluders).
struct Base {
    int cell = 0;
    CellSet excluderSet;
};

// ArePeers, inline: the search asks it for every set of base cells it checks.
bool SharesHouse(int cell, int other) {
    return cell / kSize == other / kSize || cell % kSize == other % kSize ||
           BoxHouse(cell) == BoxHouse(other);
}

// The candidates of two or three base cells, one bit per digit, and the candidate sets of
// those common excluders whose candidates all lie among the cells' (no other can be left
// without one). A combination of digits (one per cell) can stand unless it puts one digit
// twice in cells that share a house or covers all the candidates of an excluder.
struct Combinations {
    Digits candidates[3] = {0, 0, 0};
    bool peers[3][3] = {};
    Digits excluders[20] = {};
    int excluderCount = 0;
    // The digits of each cell that some combination that can stand uses.
    Digits kept[3] = {0, 0, 0};

    bool AllKept(int size) const {
        for (int i = 0; i < size; ++i) {
            if (kept[i] != candidates[i]) {
                return false;
            }
        }
        return true;
    }
    // The digits of the last cell that complete the digits used by the others (their bits)
    // to a combination that can stand, the last cell's peer conflicts aside. An excluder
    // forbids the last digit when used covers all its candidates but that one.
    Digits Completions(Digits used, Digits last) const {
        Digits allowed = last;
        for (int e = 0; e < excluderCount; ++e) {
            const Digits rest = static_cast<Digits>(excluders[e] & ~used);
            if (rest == 0) {
                return 0;
            }
            if ((rest & (rest - 1)) == 0) {
                allowed &= static_cast<Digits>(~rest);
            }
        }
        return allowed;
    }
    // Fills kept; stops early once every candidate is kept, when nothing can go.
    void Run(int size) {
        const int lastCell = size - 1;
        for (unsigned first = candidates[0]; first != 0; first &= first - 1) {
            const Digits a = static_cast<Digits>(first & (~first + 1));
            if (size == 2) {
                Digits last = candidates[1];
                if (peers[0][1]) {
                    last &= static_cast<Digits>(~a);
                }
                const Digits allowed = Completions(a, last);
                if (allowed != 0 && ((a | kept[0]) != kept[0] || (allowed | kept[1]) != kept[1])) {
                    kept[0] |= a;
                    kept[1] |= allowed;
                    if (AllKept(2)) {
                        return;
                    }
                }
                continue;
            }
            for (unsigned second = candidates[1]; second != 0; second &= second - 1) {
                const Digits b = static_cast<Digits>(second & (~second + 1));
                if (a == b && peers[0][1]) {
                    continue;
                }
                Digits last = candidates[lastCell];
                if (peers[0][2]) {
                    last &= static_cast<Digits>(~a);
                }
                if (peers[1][2]) {
                    last &= static_cast<Digits>(~b);
                }
                const Digits allowed = Completions(a | b, last);
                if (allowed != 0 && ((a | kept[0]) != kept[0] || (b | kept[1]) != kept[1] ||
                                     (allowed | kept[2]) != kept[2])) {
                    kept[0] |= a;
                    kept[1] |= b;
                    kept[2] |= allowed;
                    if (AllKept(3)) {
                        return;
                    }
                }
            }
        }
    }
};

// Checks one set of base cells, whose common excluders (in peer order) are common; false once
// the sink stops the search.
bool CheckSet(const Position& position, const Base* const* bases, int size, const CellSet& common,
              const StepSink& sink) {
    Combinations combinations;
    int cells[3];
    Digits all = 0;
    bool anyPeers = false;
    for (int i = 0; i < size; ++i) {
        cells[i] = bases[i]->cell;
        combinations.candidates[i] = position.candidates[cells[i]];
        all |= combinations.candidates[i];
        for (int j = 0; j < i; ++j) {
            combinations.peers[j][i] = SharesHouse(cells[j], cells[i]);
            anyPeers = anyPeers || combinations.peers[j][i];
        }
    }
    // An excluder with a candidate none of the cells has is never left without one.
    common.ForEach([&](int cell) {
        const Digits excluder = position.candidates[cell];
        if ((excluder & ~all) == 0) {
            combinations.excluders[combinations.excluderCount++] = excluder;
        }
    });
    if (combinations.excluderCount == 0 && !anyPeers) {
        return true;
    }
    combinations.Run(size);
    if (combinations.AllKept(size)) {
        return true;
    }
    Step step;
    for (int i = 0; i < size; ++i) {
        for (int d = 1; d <= kSize; ++d) {
            if (position.Has(cells[i], d)) {
                if (!(combinations.kept[i] & DigitBit(d))) {
                    step.eliminations.push_back(MakeCandidate(cells[i], d));
                }
                step.pattern.push_back(MakeCandidate(cells[i], d));
            }
        }
    }
    step.technique =
        size == 2 ? Technique::AlignedPairExclusion : Technique::AlignedTripletExclusion;
    step.difficulty = size == 2 ? 62 : 75;
    step.name = size == 2 ? "Aligned Pair Exclusion" : "Aligned Triplet Exclusion";
    common.ForEach([&](int excluder) {
        for (int d = 1; d <= kSize; ++d) {
            if (position.Has(excluder, d)) {
                step.pattern.push_back(MakeCandidate(excluder, d));
            }
        }
    });
    return Emit(sink, std::move(step));
}

}  // namespace

// Aligned pair exclusion (6.2) and aligned triplet exclusion (7.5): for size base cells, each
// combination of their candidates that would leave a common excluder cell (a peer of all of
// them with at most size candidates; two or more needed) without a candidate, or put a digit
// twice in a house, is impossible; a candidate no possible combination uses goes. Pairs of
// base cells in the scale's order (second cell's index, then first's); for triplets, the third
// cell among the other base cells that are excluders of the first two.
void FindAlignedExclusion(const Position& position, int size, const StepSink& sink) {
    std::array<int, kCellCount> counts;
    for (int cell = 0; cell < kCellCount; ++cell) {
        counts[cell] = Count(position.candidates[cell]);
    }
    std::array<Base, kCellCount> bases;
    int baseCount = 0;
    std::array<int, kCellCount> baseIndex;
    baseIndex.fill(-1);
    CellSet baseCells;
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (counts[cell] < 2) {
            continue;
        }
        Base& base = bases[baseCount];
        base = Base{};
        base.cell = cell;
        bool nakedSingle = false;
        for (std::uint8_t peer : Peers()[cell]) {
            const int count = counts[peer];
            if (count == 1) {
                nakedSingle = true;
                break;
            }
            if (count >= 2 && count <= size) {
                base.excluderSet.Add(peer);
            }
        }
        if (!nakedSingle && !base.excluderSet.Empty()) {
            baseIndex[cell] = baseCount++;
            baseCells.Add(cell);
        }
    }
    if (baseCount < size) {
        return;
    }
    for (int second = 1; second < baseCount; ++second) {
        for (int first = 0; first < second; ++first) {
            const Base* set[3] = {&bases[first], &bases[second], nullptr};
            // Every set the pair is part of has at most these common excluders, and needs two.
            const CellSet common = set[0]->excluderSet & set[1]->excluderSet;
            if (!common.HasTwo()) {
                continue;
            }
            if (size == 2) {
                if (!CheckSet(position, set, 2, common, sink)) {
                    return;
                }
                continue;
            }
            // The third cells: excluders of the first cell, then new ones of the second, that
            // are base cells themselves, each in peer (increasing) order.
            CellSet pairCells;
            pairCells.Add(set[0]->cell);
            pairCells.Add(set[1]->cell);
            const CellSet others = baseCells.Minus(pairCells);
            const CellSet fromFirst = set[0]->excluderSet & others;
            const CellSet fromSecond = (set[1]->excluderSet & others).Minus(set[0]->excluderSet);
            bool stopped = false;
            const auto tryThird = [&](int cell) {
                if (stopped) {
                    return;
                }
                set[2] = &bases[baseIndex[cell]];
                const CellSet all = common & set[2]->excluderSet;
                if (all.HasTwo() && !CheckSet(position, set, 3, all, sink)) {
                    stopped = true;
                }
            };
            fromFirst.ForEach(tryThird);
            fromSecond.ForEach(tryThird);
            if (stopped) {
                return;
            }
        }
    }
}

}  // namespace sudoku::rating
