#include <algorithm>
#include <string>
#include <vector>

#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/finder_support.h"

namespace sudoku::rating {

using namespace detail;

namespace {

constexpr int kFirstOfKind[3] = {0, kFirstRow, kFirstColumn};  // box, row, column

// The cells of an empty rectangle off its heart (box index e), as places in the box.
constexpr unsigned kBoxRectangle[9] = {0660, 0550, 0330, 0606, 0505, 0303, 0066, 0055, 0033};

// The house holding both cells: column, else row, else box; -1 for none.
int SharedHouse(int a, int b) {
    if (a % kSize == b % kSize) {
        return ColumnHouse(a);
    }
    if (a / kSize == b / kSize) {
        return RowHouse(a);
    }
    if (BoxHouse(a) == BoxHouse(b)) {
        return BoxHouse(a);
    }
    return -1;
}

int KindOf(int house) {
    return house < kFirstRow ? 0 : house < kFirstColumn ? 1 : 2;
}

// A strong link as the scale reads it for three links: the two places of a line or box, or
// for a box whose places (three to five) leave an empty rectangle, its heart cell twice.
struct Link {
    int house = -1;
    int ends[2] = {-1, -1};
    bool rectangle = false;
};

bool ReadLink(const Position& position, int house, int digit, Link& link) {
    const unsigned places = Places(position, house, digit);
    const int count = Count(places);
    const bool box = house < kFirstRow;
    if (count < 2 || (count != 2 && (!box || count > 5))) {
        return false;
    }
    const auto& cells = HouseCells()[house];
    link = Link{};
    link.house = house;
    if (count > 2) {
        for (int e = 0; e < kSize; ++e) {
            if ((places & kBoxRectangle[e]) == 0) {
                link.rectangle = true;
                link.ends[0] = link.ends[1] = cells[e];
                return true;
            }
        }
        return false;
    }
    link.ends[0] = cells[std::countr_zero(places)];
    link.ends[1] = cells[31 - std::countl_zero(places)];
    // A box's pair on one line is that line's link.
    return !(box && (link.ends[0] % kSize == link.ends[1] % kSize ||
                     link.ends[0] / kSize == link.ends[1] / kSize));
}

// The scale's code for the kinds of the links in chain order (0 box, 1 and 2 the two kinds of
// line in the order met), the last tie-break between equal steps.
std::string Suffix(int t1, int t2, int t3) {
    std::string s = t1 > 0 ? "1" : "0";
    if (t2 > 0 && (t1 == t2 || s == "0")) {
        s += '1';
    } else {
        s += t2 > 0 ? '2' : '0';
    }
    if (t3 > 0 && (s.find("00") != std::string::npos || t1 == t3 ||
                   (t2 != t3 && s.find('2') == 1) || (t2 == t3 && s.find('1') == 1))) {
        s += '1';
    } else {
        s += t3 > 0 ? '2' : '0';
    }
    if (s.find("122") != std::string::npos) {
        return "112";
    }
    if (s.find("120") != std::string::npos) {
        return "012";
    }
    return s;
}

// Skyscraper 5.4 (three parallel lines), three-string kite 5.6 (rows and columns), turbot fish
// 5.5 (with boxes), from the kinds of the links in chain order.
int Difficulty(int k1, int k2, int k3) {
    if (k1 == 0) {
        const bool kite = (k2 == 1 && k3 == 2) || (k2 == 2 && k3 == 1);
        return kite ? 56 : 55;
    }
    const int other = 3 - k1;  // the other kind of line
    if (k2 == k1) {
        return k3 == k1 ? 54 : k3 == other ? 56 : 55;
    }
    if (k2 == other) {
        return 56;
    }
    return k3 == other ? 56 : 55;
}

struct Found {
    Step step;
    int eliminations = 0;
    std::string suffix;
};

}  // namespace

// Three strong links on a digit chained by two weak links (shared houses outside the links):
// one of the two outer ends holds the digit, which goes from the cells seeing both, outside
// the houses used. A box's empty rectangle stands for a link through its heart. The scale
// gathers them all and reports them easiest first, then with more eliminations first.
void FindThreeStrongLinks(const Position& position, const StepSink& sink) {
    static constexpr int kSets[10][3] = {{1, 1, 1}, {2, 2, 2}, {0, 0, 0}, {0, 0, 1}, {0, 0, 2},
                                         {0, 1, 1}, {0, 2, 2}, {0, 1, 2}, {1, 1, 2}, {1, 2, 2}};
    std::vector<Found> found;
    for (const auto& set : kSets) {
        for (int digit = 1; digit <= kSize; ++digit) {
            Link links[3];
            for (int i1 = 0; i1 < kSize; ++i1) {
                if (!ReadLink(position, kFirstOfKind[set[0]] + i1, digit, links[0])) {
                    continue;
                }
                for (int i2 = set[0] == set[1] ? i1 + 1 : 0; i2 < kSize; ++i2) {
                    if (!ReadLink(position, kFirstOfKind[set[1]] + i2, digit, links[1])) {
                        continue;
                    }
                    const int from3 = set[1] == set[2] ? i2 + 1 : set[0] == set[2] ? i1 + 1 : 0;
                    for (int i3 = from3; i3 < kSize; ++i3) {
                        if (!ReadLink(position, kFirstOfKind[set[2]] + i3, digit, links[2])) {
                            continue;
                        }
                        // The links' cells must all differ (a rectangle's heart counts once),
                        // and a rectangle's box must hold no other link's cell.
                        int cells[6];
                        int count = 0;
                        for (const Link& link : links) {
                            cells[count++] = link.ends[0];
                            if (!link.rectangle) {
                                cells[count++] = link.ends[1];
                            }
                        }
                        bool clash = false;
                        for (int a = 0; a < count && !clash; ++a) {
                            for (int b = a + 1; b < count && !clash; ++b) {
                                clash = cells[a] == cells[b];
                            }
                        }
                        for (int l = 0; l < 3 && !clash; ++l) {
                            if (!links[l].rectangle) {
                                continue;
                            }
                            for (int m = 0; m < 3 && !clash; ++m) {
                                if (m != l) {
                                    for (int end : links[m].ends) {
                                        clash =
                                            clash || BoxHouse(end) == BoxHouse(links[l].ends[0]);
                                    }
                                }
                            }
                        }
                        if (clash) {
                            continue;
                        }
                        const auto tryChain = [&](const Link& a, int aOut, const Link& b, int bIn,
                                                  const Link& c, int cIn, int la, int lb, int lc) {
                            const int share1 = SharedHouse(a.ends[1 - aOut], b.ends[bIn]);
                            const int share2 = SharedHouse(b.ends[1 - bIn], c.ends[cIn]);
                            if (share1 < 0 || share2 < 0) {
                                return;
                            }
                            for (const Link& link : links) {
                                if (share1 == link.house || share2 == link.house) {
                                    return;
                                }
                            }
                            const int start = a.ends[aOut];
                            const int end = c.ends[1 - cIn];
                            CellSet victims = PeerSet(start) & PeerSet(end);
                            victims.Erase(start);
                            victims.Erase(end);
                            for (const int house : {a.house, b.house, c.house, share1, share2}) {
                                victims = victims.Minus(HouseSet(house));
                            }
                            Step step;
                            victims.ForEach([&](int cell) {
                                if (position.Has(cell, digit)) {
                                    step.eliminations.push_back(MakeCandidate(cell, digit));
                                }
                            });
                            if (step.eliminations.empty()) {
                                return;
                            }
                            const int k1 = KindOf(a.house);
                            const int k2 = KindOf(b.house);
                            const int k3 = KindOf(c.house);
                            step.technique = Technique::ThreeStrongLinks;
                            step.difficulty = (a.rectangle || b.rectangle || c.rectangle)
                                                  ? 57
                                                  : Difficulty(k1, k2, k3);
                            step.name = step.difficulty == 54 ? "Skyscraper (with 3 Strong links)"
                                        : step.difficulty == 56
                                            ? "Three-String Kite"
                                            : "Turbot Fish (with 3 Strong links)";
                            std::string suffix = Suffix(set[la], set[lb], set[lc]);
                            step.name += ' ';
                            step.name += suffix;
                            step.digits = DigitBit(digit);
                            step.houses = {a.house, share1, b.house, share2, c.house};
                            for (int cell : {start, a.ends[1 - aOut], b.ends[bIn], b.ends[1 - bIn],
                                             c.ends[cIn], end}) {
                                if (position.Has(cell, digit)) {
                                    step.pattern.push_back(MakeCandidate(cell, digit));
                                }
                            }
                            const int eliminations = static_cast<int>(step.eliminations.size());
                            found.push_back(
                                Found{std::move(step), eliminations, std::move(suffix)});
                        };
                        for (int i = 0; i < 2; ++i) {
                            if (i == 0 && links[0].rectangle) {
                                continue;
                            }
                            for (int j = 0; j < 2; ++j) {
                                if (j == 0 && links[1].rectangle) {
                                    continue;
                                }
                                for (int k = 0; k < 2; ++k) {
                                    if (k == 0 && links[2].rectangle) {
                                        continue;
                                    }
                                    // The scale's three orders: 1-2-3, 1-3-2 and 2-1-3.
                                    tryChain(links[0], i, links[1], j, links[2], k, 0, 1, 2);
                                    tryChain(links[0], i, links[2], k, links[1], j, 0, 2, 1);
                                    tryChain(links[1], j, links[0], i, links[2], k, 1, 0, 2);
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
        return a.suffix < b.suffix;
    });
    for (Found& f : found) {
        if (!Emit(sink, std::move(f.step))) {
            return;
        }
    }
}

}  // namespace sudoku::rating
