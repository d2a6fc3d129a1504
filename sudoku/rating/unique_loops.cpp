#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/finder_support.h"

namespace sudoku::rating {

using namespace detail;

namespace {

// The house of each kind (box, row, column: the order in which loops are followed) of cell.
int HouseOfKind(int kind, int cell) {
    return kind == 0 ? BoxHouse(cell) : kind == 1 ? RowHouse(cell) : ColumnHouse(cell);
}

// A step found, with what tells it apart from the same pattern found again from another cell
// of the loop or in the other direction.
struct Found {
    Step step;
    int type = 0;  // 1, 2, 3 (naked), 5 (hidden), 4; types 3 and 5 both sort as type 3
    CellSet loop;
    int loopSize = 0;
    int house = -1;
    Digits digits = 0;
    unsigned places = 0;
};

class LoopFinder {
public:
    explicit LoopFinder(const Position& position) : position_(position) {}

    void Run(const StepSink& sink) {
        for (int cell = 0; cell < kCellCount; ++cell) {
            const Digits candidates = position_.candidates[cell];
            if (Count(candidates) != 2) {
                continue;
            }
            v1_ = std::countr_zero(candidates) + 1;
            v2_ = std::countr_zero(static_cast<unsigned>(candidates) & (candidates - 1u)) + 1;
            pair_ = candidates;
            length_ = 0;
            inLoop_ = CellSet{};
            Follow(cell, 2, 0, -1);
        }
        std::stable_sort(found_.begin(), found_.end(), [](const Found& a, const Found& b) {
            if (a.step.difficulty != b.step.difficulty) {
                return a.step.difficulty < b.step.difficulty;
            }
            return SortType(a.type) < SortType(b.type);
        });
        for (Found& found : found_) {
            if (!Emit(sink, std::move(found.step))) {
                return;
            }
        }
    }

private:
    static int SortType(int type) { return type == 5 ? 3 : type; }

    // Extends the loop with cell. allowedExtra is how many more cells with other candidates
    // than the pair it may take; extra the other candidates met so far at this depth, which
    // (as the scale counts them) also gathers those of cells tried and left.
    void Follow(int cell, int allowedExtra, Digits extra, int lastKind) {
        loop_[length_++] = cell;
        inLoop_.Add(cell);
        for (int kind = 0; kind < 3; ++kind) {
            if (kind == lastKind) {
                continue;
            }
            for (std::uint8_t next : HouseCells()[HouseOfKind(kind, cell)]) {
                if (next == loop_[0] && length_ >= 4) {
                    OnLoop();
                } else if (!inLoop_.Has(next)) {
                    const Digits candidates = position_.candidates[next];
                    if ((candidates & pair_) != pair_) {
                        continue;
                    }
                    extra |= candidates & ~pair_;
                    const int count = Count(candidates);
                    if (count == 2 || Count(extra) == 1 || allowedExtra > 0) {
                        Follow(next, allowedExtra - (count > 2 ? 1 : 0), extra, kind);
                    }
                }
            }
        }
        inLoop_.Erase(cell);
        --length_;
    }

    bool Valid() const {
        std::uint32_t visited[2] = {0, 0};
        for (int i = 0; i < length_; ++i) {
            for (int kind = 0; kind < 3; ++kind) {
                const std::uint32_t bit = 1u << HouseOfKind(kind, loop_[i]);
                if (visited[i & 1] & bit) {
                    return false;
                }
                visited[i & 1] |= bit;
            }
        }
        return visited[0] == visited[1];
    }

    int BaseDifficulty() const {
        int result = 45;
        if (length_ >= 10) {
            result += 3;
        }
        if (length_ >= 8) {
            result += 2;
        } else if (length_ >= 6) {
            result += 1;
        }
        return result;
    }

    void OnLoop() {
        if (!Valid()) {
            return;
        }
        int extraCells[kCellCount];
        int extraCount = 0;
        for (int i = 0; i < length_; ++i) {
            if (Count(position_.candidates[loop_[i]]) > 2) {
                extraCells[extraCount++] = loop_[i];
            }
        }
        if (extraCount == 1) {
            Step step = Start(1, 0);
            step.eliminations = {MakeCandidate(extraCells[0], v1_),
                                 MakeCandidate(extraCells[0], v2_)};
            Add(std::move(step), 1);
        } else if (extraCount > 2) {
            AddType2(extraCells, extraCount);
        } else if (extraCount == 2) {
            const int c1 = extraCells[0];
            const int c2 = extraCells[1];
            const Digits others = (position_.candidates[c1] | position_.candidates[c2]) & ~pair_;
            if (Count(others) == 1) {
                AddType2(extraCells, extraCount);
            } else if (Count(others) >= 2) {
                AddType3(c1, c2, others);
            }
            AddType4(c1, c2);
        }
    }

    Step Start(int type, int extra) const {
        Step step;
        step.technique = Technique::UniqueLoop;
        step.difficulty = BaseDifficulty() + extra;
        step.name = length_ == 4 ? "Unique Rectangle" : "Unique Loop";
        if (length_ > 6) {
            step.name += ' ';
            step.name += std::to_string(length_);
        }
        step.name += " type ";
        step.name += std::to_string(type);
        for (int i = 0; i < length_; ++i) {
            step.pattern.push_back(MakeCandidate(loop_[i], v1_));
            step.pattern.push_back(MakeCandidate(loop_[i], v2_));
        }
        step.digits = pair_;
        return step;
    }

    void Add(Step&& step, int type, int house = -1, Digits digits = 0, unsigned places = 0) {
        if (step.eliminations.empty()) {
            return;
        }
        CellSet loop;
        for (int i = 0; i < length_; ++i) {
            loop.Add(loop_[i]);
        }
        for (const Found& found : found_) {
            if (found.type == type && found.loopSize == length_ &&
                found.loop.words[0] == loop.words[0] && found.loop.words[1] == loop.words[1] &&
                found.house == house && found.digits == digits && found.places == places) {
                return;
            }
        }
        found_.push_back(Found{std::move(step), type, loop, length_, house, digits, places});
    }

    void AddType2(const int* extraCells, int extraCount) {
        const Digits others = position_.candidates[extraCells[0]] & ~pair_;
        const int digit = std::countr_zero(others) + 1;
        CellSet common = PeerSet(extraCells[0]);
        for (int i = 1; i < extraCount; ++i) {
            common = common & PeerSet(extraCells[i]);
        }
        for (int i = 0; i < extraCount; ++i) {
            common.Erase(extraCells[i]);
        }
        Step step = Start(2, 0);
        common.ForEach([&](int cell) {
            if (position_.Has(cell, digit)) {
                step.eliminations.push_back(MakeCandidate(cell, digit));
            }
        });
        Add(std::move(step), 2);
    }

    // Type 3: the two extra cells act as one cell holding their other candidates, which with
    // other cells of a house they share makes a naked set, or with the pair a hidden set.
    void AddType3(int c1, int c2, Digits others) {
        const int othersCount = Count(others);
        for (int size = othersCount; size <= 7; ++size) {
            for (int kind = 0; kind < 3; ++kind) {
                const int house = HouseOfKind(kind, c1);
                if (house != HouseOfKind(kind, c2)) {
                    continue;
                }
                const auto& cells = HouseCells()[house];
                const int empty = EmptyCount(position_, house);
                const int index1 =
                    static_cast<int>(std::find(cells.begin(), cells.end(), c1) - cells.begin());
                const int index2 =
                    static_cast<int>(std::find(cells.begin(), cells.end(), c2) - cells.begin());
                if (size * 2 <= empty) {
                    AddNakedType3(house, index1, index2, size, others);
                }
                if (size * 2 < empty) {
                    AddHiddenType3(house, index1, index2, size, others);
                }
            }
        }
    }

    void AddNakedType3(int house, int index1, int index2, int size, Digits others) {
        const auto& cells = HouseCells()[house];
        const int c1 = cells[index1];
        const int c2 = cells[index2];
        for (unsigned set = (1u << size) - 1; set < (1u << kSize); set = NextCombination(set)) {
            if (!(set & (1u << index1)) || (set & (1u << index2))) {
                continue;
            }
            Digits naked = others & position_.candidates[c1] & position_.candidates[c2];
            Digits all = others;
            bool valid = true;
            for (int p = 0; p < kSize; ++p) {
                if (!(set & (1u << p)) || p == index1) {
                    continue;
                }
                const Digits candidates = position_.candidates[cells[p]];
                valid = valid && Count(candidates) > 1;
                naked |= candidates;
                all |= candidates;
            }
            if (Count(naked) != size || !valid || Count(all) != size) {
                continue;
            }
            Step step = Start(3, size - 1);
            for (int p = 0; p < kSize; ++p) {
                if ((set & (1u << p)) || p == index2) {
                    continue;
                }
                for (int digit = 1; digit <= kSize; ++digit) {
                    if ((all & DigitBit(digit)) && position_.Has(cells[p], digit)) {
                        step.eliminations.push_back(MakeCandidate(cells[p], digit));
                    }
                }
            }
            step.houses = {house};
            Add(std::move(step), 3, house, all, set);
        }
    }

    void AddHiddenType3(int house, int index1, int index2, int size, Digits others) {
        const auto& cells = HouseCells()[house];
        int rest[kSize];
        int restCount = 0;
        for (int digit = 1; digit <= kSize; ++digit) {
            if (!(pair_ & DigitBit(digit)) && !(others & DigitBit(digit))) {
                rest[restCount++] = digit;
            }
        }
        const int chosen = size - 2;
        if (chosen > restCount) {
            return;
        }
        for (unsigned pick = (1u << chosen) - 1; pick < (1u << restCount);
             pick = chosen == 0 ? (1u << restCount) : NextCombination(pick)) {
            Digits hidden = pair_;
            for (int i = 0; i < restCount; ++i) {
                if (pick & (1u << i)) {
                    hidden |= DigitBit(rest[i]);
                }
            }
            unsigned places = 0;
            bool valid = true;
            for (int digit = 1; digit <= kSize && valid; ++digit) {
                if (hidden & DigitBit(digit)) {
                    const unsigned digitPlaces = Places(position_, house, digit) & ~(1u << index2);
                    valid = digitPlaces != 0;
                    places |= digitPlaces;
                }
            }
            if (!valid || Count(places) != size) {
                continue;
            }
            places &= ~(1u << index1);
            Step step = Start(3, (Count(places) - 1));
            for (int p = 0; p < kSize; ++p) {
                if (!(places & (1u << p))) {
                    continue;
                }
                for (int digit = 1; digit <= kSize; ++digit) {
                    if (!(hidden & DigitBit(digit)) && position_.Has(cells[p], digit)) {
                        step.eliminations.push_back(MakeCandidate(cells[p], digit));
                    }
                }
            }
            step.houses = {house};
            Add(std::move(step), 5, house, hidden, places);
            if (chosen == 0) {
                break;
            }
        }
    }

    // Type 4: one of the pair confined, in a house both extra cells share, to those two cells;
    // the other digit of the pair goes from both.
    void AddType4(int c1, int c2) {
        int lockedHouse[2] = {-1, -1};
        for (int kind = 0; kind < 3; ++kind) {
            const int house = HouseOfKind(kind, c1);
            if (house != HouseOfKind(kind, c2)) {
                continue;
            }
            bool has[2] = {false, false};
            for (std::uint8_t cell : HouseCells()[house]) {
                if (cell != c1 && cell != c2) {
                    has[0] = has[0] || position_.Has(cell, v1_);
                    has[1] = has[1] || position_.Has(cell, v2_);
                }
            }
            for (int i = 0; i < 2; ++i) {
                if (!has[i]) {
                    lockedHouse[i] = house;
                }
            }
        }
        const int locked = lockedHouse[0] >= 0 ? 0 : lockedHouse[1] >= 0 ? 1 : -1;
        if (locked < 0) {
            return;
        }
        const int removed = locked == 0 ? v2_ : v1_;
        Step step = Start(4, 0);
        step.eliminations = {MakeCandidate(c1, removed), MakeCandidate(c2, removed)};
        step.houses = {lockedHouse[locked]};
        Add(std::move(step), 4);
    }

    const Position& position_;
    int v1_ = 0;
    int v2_ = 0;
    Digits pair_ = 0;
    int loop_[kCellCount] = {};
    int length_ = 0;
    CellSet inLoop_;
    std::vector<Found> found_;
};

}  // namespace

// Unique rectangles and loops, types 1 to 4: cells holding a pair of digits (at most two
// with other candidates, or more when they all add the same one) that close a loop in which
// each house holds two cells at opposite steps; as the puzzle has one solution, the deadly
// pattern must be broken. Difficulty 4.5 for a rectangle, 4.6 for a loop of 6, 4.7 of 8 and
// 5.0 of 10 or more; types 1, 2 and 4 add nothing, type 3 adds 0.1 per cell of its set beyond
// the first. The scale collects every such step and reports them easiest first, lower types
// first among equals.
void FindUniqueLoops(const Position& position, const StepSink& sink) {
    LoopFinder(position).Run(sink);
}

}  // namespace sudoku::rating
