#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/finder_support.h"

namespace sudoku::rating {

using namespace detail;

namespace {

struct Found {
    Step step;
    int eliminations = 0;
    std::string suffix;
};

// The peers of cell after it in index order.
CellSet LaterPeers(int cell) {
    CellSet later;
    PeerSet(cell).ForEach([&](int peer) {
        if (peer > cell) {
            later.Add(peer);
        }
    });
    return later;
}

}  // namespace

namespace {

// Finds the wings whose almost locked set has size cells (3 or 4) and size + 1 digits.
class WingFinder {
public:
    WingFinder(const Position& position, int size) : position_(position), size_(size) {}

    void Run(const StepSink& sink) {
        for (int first = 0; first < kCellCount; ++first) {
            Extend(first, 0, 0, CellSet{});
        }
        std::stable_sort(found_.begin(), found_.end(), [](const Found& a, const Found& b) {
            if (a.step.difficulty != b.step.difficulty) {
                return a.step.difficulty < b.step.difficulty;
            }
            if (a.eliminations != b.eliminations) {
                return a.eliminations > b.eliminations;
            }
            return a.suffix > b.suffix;
        });
        for (Found& f : found_) {
            if (!Emit(sink, std::move(f.step))) {
                return;
            }
        }
    }

private:
    // Adds cell as the count-th cell of the set, then the next ones among the later peers of
    // all cells so far (later, so that each set is met once).
    void Extend(int cell, int count, Digits digits, const CellSet& later) {
        const Digits cellDigits = position_.candidates[cell];
        const Digits all = digits | cellDigits;
        if (Count(cellDigits) < 2 || Count(all) > size_ + 1) {
            return;
        }
        cells_[count] = cell;
        const CellSet next = count == 0 ? LaterPeers(cell) : later & LaterPeers(cell);
        if (count + 1 == size_) {
            if (Count(all) == size_ + 1) {
                OnSet(all);
            }
            return;
        }
        next.ForEach([&](int other) { Extend(other, count + 1, all, next); });
    }

    void OnSet(Digits all) {
        const Position& position = position_;
        const int* setCells = cells_;
        int largest = 0;
        int wingSize = 0;
        CellSet range;
        for (int i = 0; i < size_; ++i) {
            largest = std::max(largest, Count(position.candidates[setCells[i]]));
            wingSize += Count(position.candidates[setCells[i]]);
            range = range | PeerSet(setCells[i]);
        }
        for (int i = 0; i < size_; ++i) {
            range.Erase(setCells[i]);
        }
        range.ForEach([&](int pivot) {
            const Digits pivotDigits = position.candidates[pivot];
            if (Count(pivotDigits) != 2 || (pivotDigits & all) != pivotDigits) {
                return;
            }
            // Whether every set cell holding digit sees the bivalue cell.
            const auto linked = [&](int digit) {
                for (int cell : std::span(setCells, size_)) {
                    if (position.Has(cell, digit) && !ArePeers(cell, pivot)) {
                        return false;
                    }
                }
                return true;
            };
            const int low = std::countr_zero(pivotDigits) + 1;
            const int high = 31 - std::countl_zero(static_cast<unsigned>(pivotDigits)) + 1;
            bool doubleLink = linked(high);
            int x = low;
            int z = high;
            if (!linked(low)) {
                if (!doubleLink) {
                    return;
                }
                doubleLink = false;
                x = high;
                z = low;
            }
            Step step;
            int eliminations = 0;
            // Removes digit from the cells seeing every set cell holding it, and the
            // bivalue cell too when withPivot.
            const auto remove = [&](int digit, bool withPivot) {
                CellSet victims;
                bool started = false;
                if (withPivot) {
                    victims = PeerSet(pivot);
                    started = true;
                }
                for (int cell : std::span(setCells, size_)) {
                    if (position.Has(cell, digit)) {
                        victims = started ? victims & PeerSet(cell) : PeerSet(cell);
                        started = true;
                    }
                }
                for (int cell : std::span(setCells, size_)) {
                    victims.Erase(cell);
                }
                victims.Erase(pivot);
                bool any = false;
                victims.ForEach([&](int cell) {
                    if (position.Has(cell, digit)) {
                        ++eliminations;
                        any = true;
                        const Candidate candidate = MakeCandidate(cell, digit);
                        if (std::find(step.eliminations.begin(), step.eliminations.end(),
                                      candidate) == step.eliminations.end()) {
                            step.eliminations.push_back(candidate);
                        }
                    }
                });
                return any;
            };
            bool weak = false;
            bool strongX = false;
            if (doubleLink) {
                const Digits others = all & ~pivotDigits;
                for (int digit = 1; digit <= kSize; ++digit) {
                    if (others & DigitBit(digit)) {
                        weak = remove(digit, false) || weak;
                    }
                }
                strongX = remove(x, true);
            }
            const bool strongZ = remove(z, true);
            if (doubleLink && !weak && (!strongZ || !strongX)) {
                doubleLink = false;
            }
            if (step.eliminations.empty()) {
                return;
            }
            step.technique = size_ == 3 ? Technique::WXYZWing : Technique::VWXYZWing;
            step.difficulty =
                size_ == 3 ? 55 + (1 - std::abs(3 - largest)) : 62 + (2 - std::abs(3 - largest));
            // The scale's code: link (1 or 2), largest cell, candidates in all, unpadded.
            std::string suffix(1, doubleLink ? '2' : '1');
            suffix += static_cast<char>('0' + largest);
            if (wingSize >= 10) {
                suffix += static_cast<char>('0' + wingSize / 10);
            }
            suffix += static_cast<char>('0' + wingSize % 10);
            step.name = size_ == 3 ? "WXYZ-Wing " : "VWXYZ-Wing ";
            step.name += suffix;
            step.digits = all;
            for (int i = 0; i <= size_; ++i) {
                const int cell = i < size_ ? setCells[i] : pivot;
                for (int d = 1; d <= kSize; ++d) {
                    if (position.Has(cell, d)) {
                        step.pattern.push_back(MakeCandidate(cell, d));
                    } else if (position.digits[cell] == 0) {
                        step.premises.push_back(MakeCandidate(cell, d));
                    }
                }
            }
            found_.push_back(Found{std::move(step), eliminations, std::move(suffix)});
        });
    }

    const Position& position_;
    int size_;
    int cells_[4] = {};
    std::vector<Found> found_;
};

}  // namespace

// WXYZ-wing (size 3) and VWXYZ-wing (size 4): size cells seeing one another with size + 1
// digits between them (an almost locked set) and a bivalue cell xz whose x every set cell
// holding x sees: z goes from the cells seeing the bivalue cell and every set cell holding z.
// When z is also seen that way the link is double: x goes likewise, and each other digit of
// the set from the cells seeing every set cell holding it. Difficulty 5.5 and 6.2 plus a tenth
// per step of the set's largest cell towards three candidates (5.6 at three; 6.3 at two or
// four, 6.4 at three). The scale gathers them all and reports them easiest first, then with
// more eliminations.
void FindWXYZWings(const Position& position, const StepSink& sink) {
    WingFinder(position, 3).Run(sink);
}

void FindVWXYZWings(const Position& position, const StepSink& sink) {
    WingFinder(position, 4).Run(sink);
}

}  // namespace sudoku::rating
