#include <array>

#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/finder_support.h"

namespace sudoku::rating {

using namespace detail;

namespace {

// The houses by kind in the order the scale checks them: boxes, rows, columns.
int HouseOfKind(int kind, int cell) {
    return kind == 0 ? BoxHouse(cell) : kind == 1 ? RowHouse(cell) : ColumnHouse(cell);
}

// The house of the given kind that all cells share, or -1.
int SharedHouse(int kind, const int* cells, int count) {
    const int house = HouseOfKind(kind, cells[0]);
    for (int i = 1; i < count; ++i) {
        if (HouseOfKind(kind, cells[i]) != house) {
            return -1;
        }
    }
    return house;
}

Step StartBug(int type, int difficulty, const int* bugCells, int bugCount, Digits bugDigits) {
    Step step;
    step.technique = Technique::BivalueUniversalGrave;
    step.difficulty = difficulty;
    step.name = "BUG type " + std::to_string(type);
    for (int i = 0; i < bugCount; ++i) {
        for (int digit = 1; digit <= kSize; ++digit) {
            if (bugDigits & DigitBit(digit)) {
                step.pattern.push_back(MakeCandidate(bugCells[i], digit));
            }
        }
    }
    step.digits = bugDigits;
    return step;
}

}  // namespace

// Bivalue universal grave: without a few extra candidates (the BUG values, each the third
// place of its digit in some house, in a cell with three or more candidates) every empty cell
// would hold two candidates and every digit two places per house, a pattern with two
// solutions; so one of the extras is true. Type 1 (5.6): one such cell keeps only its extras.
// Type 2 (5.7): one BUG value in all, removed from the cells seeing every BUG cell. Type 3
// (5.7 plus 0.1 per digit of the set beyond the first): the BUG cells' extras with other cells
// of a shared house make a naked set. Type 4 (5.7): two BUG cells sharing a house and another
// digit, which then goes from both.
void FindBivalueUniversalGrave(const Position& position, const StepSink& sink) {
    std::array<Digits, kCellCount> rest = position.candidates;
    int bugCells[kCellCount];
    int bugCount = 0;
    std::array<Digits, kCellCount> bugDigits{};
    Digits allBugDigits = 0;
    CellSet common;
    bool haveCommon = false;
    CellSet bugSet;
    for (int kind = 0; kind < 3; ++kind) {
        for (int i = 0; i < kSize; ++i) {
            const int house = kind == 0 ? i : kind == 1 ? kFirstRow + i : kFirstColumn + i;
            const auto& cells = HouseCells()[house];
            for (int digit = 1; digit <= kSize; ++digit) {
                const unsigned places = Places(position, house, digit);
                const int count = Count(places);
                if (count == 0 || count == 2) {
                    continue;
                }
                int found = -1;
                int foundCount = 0;
                for (int p = 0; p < kSize; ++p) {
                    if ((places & (1u << p)) && Count(position.candidates[cells[p]]) >= 3) {
                        found = cells[p];
                        ++foundCount;
                    }
                }
                if (foundCount == 0) {
                    return;
                }
                if (foundCount != 1) {
                    continue;
                }
                if (!bugSet.Has(found)) {
                    bugSet.Add(found);
                    bugCells[bugCount++] = found;
                }
                bugDigits[found] |= DigitBit(digit);
                allBugDigits |= DigitBit(digit);
                rest[found] &= static_cast<Digits>(~DigitBit(digit));
                common = haveCommon ? common & PeerSet(found) : PeerSet(found);
                haveCommon = true;
                common = common.Minus(bugSet);
                if (bugCount > 1 && Count(allBugDigits) > 1 && common.Empty()) {
                    return;
                }
            }
        }
    }
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (position.digits[cell] == 0 && Count(rest[cell]) != 2) {
            return;
        }
    }
    for (int house = 0; house < kHouseCount; ++house) {
        for (int digit = 1; digit <= kSize; ++digit) {
            int count = 0;
            for (std::uint8_t cell : HouseCells()[house]) {
                count += (rest[cell] & DigitBit(digit)) != 0;
            }
            if (count != 0 && count != 2) {
                return;
            }
        }
    }

    const auto emitType4 = [&]() {
        const int c1 = bugCells[0];
        const int c2 = bugCells[1];
        const Digits shared = position.candidates[c1] & position.candidates[c2] & ~allBugDigits;
        if (Count(shared) != 1) {
            return true;
        }
        const int digit = std::countr_zero(shared) + 1;
        for (int kind = 0; kind < 3; ++kind) {
            const int house = SharedHouse(kind, bugCells, 2);
            if (house < 0) {
                continue;
            }
            Step step = StartBug(4, 57, bugCells, 2, allBugDigits);
            for (const int cell : {c1, c2}) {
                for (int d = 1; d <= kSize; ++d) {
                    if (position.Has(cell, d) && !(bugDigits[cell] & DigitBit(d)) && d != digit) {
                        step.eliminations.push_back(MakeCandidate(cell, d));
                    }
                }
            }
            step.houses = {house};
            if (!Emit(sink, std::move(step))) {
                return false;
            }
        }
        return true;
    };

    if (bugCount == 1) {
        Step step = StartBug(1, 56, bugCells, 1, allBugDigits);
        const int cell = bugCells[0];
        for (int d = 1; d <= kSize; ++d) {
            if (position.Has(cell, d) && !(allBugDigits & DigitBit(d))) {
                step.eliminations.push_back(MakeCandidate(cell, d));
            }
        }
        Emit(sink, std::move(step));
    } else if (Count(allBugDigits) == 1) {
        const int digit = std::countr_zero(allBugDigits) + 1;
        Step step = StartBug(2, 57, bugCells, bugCount, allBugDigits);
        if (haveCommon) {
            common.ForEach([&](int cell) {
                if (position.Has(cell, digit)) {
                    step.eliminations.push_back(MakeCandidate(cell, digit));
                }
            });
        }
        if (!step.eliminations.empty() && !Emit(sink, std::move(step))) {
            return;
        }
        if (bugCount == 2) {
            emitType4();
        }
    } else if (haveCommon && !common.Empty()) {
        if (bugCount == 2 && !emitType4()) {
            return;
        }
        for (int kind = 0; kind < 3; ++kind) {
            const int house = SharedHouse(kind, bugCells, bugCount);
            if (house < 0) {
                continue;
            }
            int regionCells[kSize];
            int regionCount = 0;
            common.ForEach([&](int cell) {
                if (HouseOfKind(kind, cell) == house) {
                    regionCells[regionCount++] = cell;
                }
            });
            for (int size = 2; size <= 6; ++size) {
                if (regionCount < size) {
                    continue;
                }
                for (unsigned set = (1u << (size - 1)) - 1; set < (1u << regionCount);
                     set = NextCombination(set)) {
                    Digits naked = 0;
                    bool valid = true;
                    for (int i = 0; i < regionCount; ++i) {
                        if (set & (1u << i)) {
                            naked |= position.candidates[regionCells[i]];
                            valid = valid && Count(position.candidates[regionCells[i]]) > 1;
                        }
                    }
                    if (Count(naked) != size || !valid || Count(naked | allBugDigits) != size) {
                        continue;
                    }
                    Step step =
                        StartBug(3, 57 + Count(naked) - 1, bugCells, bugCount, allBugDigits);
                    for (int i = 0; i < regionCount; ++i) {
                        const int cell = regionCells[i];
                        if (set & (1u << i)) {
                            continue;
                        }
                        for (int d = 1; d <= kSize; ++d) {
                            if ((naked & DigitBit(d)) && position.Has(cell, d)) {
                                step.eliminations.push_back(MakeCandidate(cell, d));
                            }
                        }
                    }
                    step.houses = {house};
                    if (!step.eliminations.empty() && !Emit(sink, std::move(step))) {
                        return;
                    }
                }
            }
        }
    }
}

}  // namespace sudoku::rating
