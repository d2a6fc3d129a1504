#include <algorithm>
#include <vector>

#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/finder_support.h"
#include "sudoku/rating/strong_links.h"

namespace sudoku::rating {

using namespace detail;

namespace {

constexpr int kFirstOfKind[3] = {0, kFirstRow, kFirstColumn};  // box, row, column

struct Found {
    Step step;
    int eliminations = 0;  // as the scale counts them: a ring may count a cell twice
    int groupedCount = 0;
};

// The digit's cells seeing every cell of a and b (their supports only when grouped), outside
// the two link houses.
int AddVictims(const Position& position, int digit, const End& a, bool aGrouped, const End& b,
               bool bGrouped, int base, int cover, Step& step) {
    CellSet victims = PeerSet(a.cells[0]) & PeerSet(b.cells[0]);
    for (const auto& [end, grouped] : {std::pair{&a, aGrouped}, std::pair{&b, bGrouped}}) {
        for (int i = 1; i < 3 && grouped && end->cells[i] != kNone; ++i) {
            victims = victims & PeerSet(end->cells[i]);
        }
    }
    victims.Erase(a.cells[0]);
    victims.Erase(b.cells[0]);
    victims = victims.Minus(HouseSet(base)).Minus(HouseSet(cover));
    int count = 0;
    victims.ForEach([&](int cell) {
        if (position.Has(cell, digit)) {
            ++count;
            const Candidate candidate = MakeCandidate(cell, digit);
            if (std::find(step.eliminations.begin(), step.eliminations.end(), candidate) ==
                step.eliminations.end()) {
                step.eliminations.push_back(candidate);
            }
        }
    });
    return count;
}

}  // namespace

// Turbot fish: two strong links on a digit, in a base line and a cover house, with one end of
// each in a third house: one of the two other ends holds the digit, which goes from the cells
// seeing both. Skyscraper (two rows or two columns) 4.0, two-string kite (a column and a row)
// 4.1, turbot crane (a line and a box) 4.2, and 4.3 when a link is grouped (the digit's places
// in a box filling two arms of an empty rectangle, or in a line two of its segments). When the
// outer ends share a house too the links close a loop, and the digit also goes from the cells
// seeing both inner ends. The scale gathers them all and reports them easiest first, then
// those with more eliminations, then those with fewer grouped links.
void FindTurbotFish(const Position& position, const StepSink& sink) {
    static constexpr int kSets[5][2] = {{1, 1}, {2, 2}, {2, 1}, {1, 0}, {2, 0}};
    std::vector<Found> found;
    for (const auto& set : kSets) {
        const int baseKind = set[0];
        const int coverKind = set[1];
        for (int digit = 1; digit <= kSize; ++digit) {
            for (int i = 0; i < kSize; ++i) {
                const int base = kFirstOfKind[baseKind] + i;
                StrongLink baseLinks[2];
                bool baseGrouped = false;
                const int baseCount = LinksOf(position, base, digit, baseLinks, baseGrouped);
                for (int bl = 0; bl < baseCount; ++bl) {
                    const StrongLink& first = baseLinks[bl];
                    for (int j = baseKind == coverKind ? i + 1 : 0; j < kSize; ++j) {
                        const int cover = kFirstOfKind[coverKind] + j;
                        StrongLink coverLinks[2];
                        bool coverGrouped = false;
                        const int coverCount =
                            LinksOf(position, cover, digit, coverLinks, coverGrouped);
                        // Links sharing a place for the digit are not two links.
                        bool overlap = false;
                        (HouseSet(base) & HouseSet(cover)).ForEach([&](int cell) {
                            overlap = overlap || position.Has(cell, digit);
                        });
                        if (overlap) {
                            continue;
                        }
                        for (int cl = 0; cl < coverCount; ++cl) {
                            const StrongLink& second = coverLinks[cl];
                            for (int s = 0; s < 2; ++s) {
                                for (int t = 0; t < 2; ++t) {
                                    const End& bridge1 = first.ends[1 - s];
                                    const End& bridge2 = second.ends[t];
                                    const int shared = SharedHouse(bridge1, bridge2);
                                    if (shared < 0 || shared == base || shared == cover) {
                                        continue;
                                    }
                                    const End& start = first.ends[s];
                                    const End& end = second.ends[1 - t];
                                    const bool ring = SharedHouse(start, end) >= 0;
                                    Step step;
                                    int count = AddVictims(position, digit, start, baseGrouped, end,
                                                           coverGrouped, base, cover, step);
                                    if (ring) {
                                        count += AddVictims(position, digit, bridge1, true, bridge2,
                                                            true, base, cover, step);
                                    }
                                    if (step.eliminations.empty()) {
                                        continue;
                                    }
                                    const bool grouped = baseGrouped || coverGrouped;
                                    step.technique = Technique::TurbotFish;
                                    step.difficulty = grouped                 ? 43
                                                      : coverKind == 0        ? 42
                                                      : baseKind == coverKind ? 40
                                                                              : 41;
                                    const bool groupedBox = coverGrouped && coverKind == 0;
                                    step.name = groupedBox ? "Grouped Turbot Crane"
                                                : grouped && baseKind == coverKind
                                                    ? "Grouped Skyscraper"
                                                : grouped               ? "Grouped 2-String Kite"
                                                : coverKind == 0        ? "Turbot Crane"
                                                : baseKind == coverKind ? "Skyscraper"
                                                                        : "Two-string Kite";
                                    if (ring) {
                                        step.name += " X-Loop";
                                    }
                                    if (grouped) {
                                        step.name += baseGrouped && coverGrouped ? " 11" : " 01";
                                    }
                                    step.digits = DigitBit(digit);
                                    step.houses = {base, shared, cover};
                                    for (const End* e : {&start, &bridge1, &bridge2, &end}) {
                                        for (int cell : e->cells) {
                                            if (cell != kNone && position.Has(cell, digit)) {
                                                step.pattern.push_back(MakeCandidate(cell, digit));
                                            }
                                        }
                                    }
                                    for (const int house : {base, cover}) {
                                        for (std::uint8_t cell : HouseCells()[house]) {
                                            if (position.digits[cell] == 0 &&
                                                !position.Has(cell, digit)) {
                                                step.premises.push_back(MakeCandidate(cell, digit));
                                            }
                                        }
                                    }
                                    found.push_back(
                                        Found{std::move(step), count, baseGrouped + coverGrouped});
                                }
                            }
                        }
                    }
                }
            }
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        if (a.step.difficulty != b.step.difficulty) {
            return a.step.difficulty < b.step.difficulty;
        }
        if (a.eliminations != b.eliminations) {
            return a.eliminations > b.eliminations;
        }
        return a.groupedCount < b.groupedCount;
    });
    for (Found& f : found) {
        if (!Emit(sink, std::move(f.step))) {
            return;
        }
    }
}

}  // namespace sudoku::rating
