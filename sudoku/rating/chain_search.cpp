#include "sudoku/rating/chain_search.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <set>

#include "sudoku/rating/basic_techniques.h"

namespace sudoku::rating::chain {

namespace {

// Lookups the links need on every step, built once.
struct Tables {
    std::array<std::uint8_t, 512> bitCount{};
    std::array<std::array<std::uint8_t, 9>, kHouseCount> houses{};
    std::array<std::array<std::uint8_t, 20>, kCellCount> peers{};
    // For each cell: its box, row and column, and its place (0 to 8) in each.
    std::array<std::array<std::uint8_t, 3>, kCellCount> cellHouses{};
    std::array<std::array<std::uint8_t, 3>, kCellCount> cellPlaces{};
    // For each cell: the places of its row, and of its column, that lie in its box.
    std::array<std::array<std::uint16_t, 2>, kCellCount> lineInBox{};

    Tables() {
        for (unsigned bits = 0; bits < 512; ++bits) {
            bitCount[bits] = static_cast<std::uint8_t>(std::popcount(bits));
        }
        houses = HouseCells();
        peers = Peers();
        for (int house = 0; house < kHouseCount; ++house) {
            for (int i = 0; i < 9; ++i) {
                const int cell = houses[house][i];
                const int kind = house < kFirstRow ? 0 : (house < kFirstColumn ? 1 : 2);
                cellHouses[cell][kind] = static_cast<std::uint8_t>(house);
                cellPlaces[cell][kind] = static_cast<std::uint8_t>(i);
            }
        }
        for (int cell = 0; cell < kCellCount; ++cell) {
            for (int kind = 1; kind < 3; ++kind) {
                const auto& line = houses[cellHouses[cell][kind]];
                for (int i = 0; i < 9; ++i) {
                    if (BoxHouse(line[i]) == BoxHouse(cell)) {
                        lineInBox[cell][kind - 1] |= static_cast<std::uint16_t>(1u << i);
                    }
                }
            }
        }
    }
};

const Tables& T() {
    static const Tables tables;
    return tables;
}

// Read once per translation unit, so that the links do not pay for the guard of a local static.
const Tables& kTables = T();

int CountDigits(Digits digits) {
    return kTables.bitCount[digits];
}

Cause RegionCause(int house) {
    if (house < kFirstRow) {
        return Cause::Box;
    }
    return house < kFirstColumn ? Cause::Row : Cause::Column;
}

int HouseOf(Cause cause, int cell) {
    switch (cause) {
        case Cause::Box:
            return BoxHouse(cell);
        case Cause::Row:
            return RowHouse(cell);
        default:
            return ColumnHouse(cell);
    }
}

}  // namespace

Config ConfigOf(ChainRule rule) {
    switch (rule) {
        case ChainRule::Cycles:
            return {};
        case ChainRule::Nishio:
            return {false, true, true, 0};
        case ChainRule::Multiple:
            return {true, false, false, 0};
        case ChainRule::Dynamic:
            return {true, true, false, 0};
        case ChainRule::DynamicPlus:
            return {true, true, false, 1};
        case ChainRule::NestedChains:
            return {true, true, false, 2};
        case ChainRule::NestedMultiple:
            return {true, true, false, 3};
        case ChainRule::NestedDynamic:
            return {true, true, false, 4};
        case ChainRule::NestedPlus:
            return {true, true, false, 5};
    }
    return {};
}

Chainer::Chainer(Config config, Effort* effort) : config_(config), effort_(effort) {
    onNets_.resize(kCandidates);
    onNetStamp_.assign(kCandidates, 0);
    for (auto& links : staticOffToOn_) {
        links.resize(kCandidates);
    }
    for (auto& links : staticOnToOff_) {
        links.resize(kCandidates);
    }
    pendingOn_.reserve(kCandidates);
    pendingOff_.reserve(kCandidates);
    if (config_.level >= 2 && config_.level < 4) {
        otherRules_.push_back(std::make_unique<Chainer>(Config{}, effort_));
        if (config_.level >= 3) {
            otherRules_.push_back(
                std::make_unique<Chainer>(Config{true, false, false, 0}, effort_));
        }
    } else if (config_.level >= 4) {
        otherRules_.push_back(std::make_unique<Chainer>(Config{true, true, false, 0}, effort_));
        if (config_.level >= 5) {
            // The scale's own fifth level nests chains of the second; that is beyond any
            // bounded effort, so this one nests the dynamic chains helped by the basic
            // techniques, the next level down that still finishes.
            otherRules_.push_back(std::make_unique<Chainer>(Config{true, true, false, 1}, effort_));
        }
    }
}

Chainer::~Chainer() = default;

double Chainer::BaseDifficulty() const {
    if (config_.level >= 2) {
        return 9.5 + 0.5 * (config_.level - 2);
    }
    if (config_.level > 0) {
        return 8.5 + 0.5 * config_.level;
    }
    if (config_.nishio) {
        return 7.5;
    }
    if (config_.dynamic) {
        return 8.5;
    }
    return 8.0;
}

Net& Chainer::NetAt(std::size_t index) {
    while (nets_.size() <= index) {
        nets_.push_back(std::make_unique<Net>());
    }
    return *nets_[index];
}

void Chainer::Search(const Position& position, bool onlyBetter, const HintSink& sink) {
    digits_ = position.digits;
    SetGrid(position.candidates);
    ++searchStamp_;
    sink_ = &sink;
    nestedComplexity_.clear();
    serialOf_.clear();
    onlyBetter_ = onlyBetter;
    haveBest_ = false;
    if (config_.multiple || config_.dynamic) {
        SearchMultiple();
    } else {
        SearchCycles();
    }
    sink_ = nullptr;
}

void Chainer::Collect(const Position& position, const Candidates81& source,
                      std::vector<NestedHint>& hints) {
    hints.clear();
    std::vector<NestedHint> found;
    const HintSink sink = [&](const Hint& hint) {
        NestedHint nested;
        nested.difficulty = hint.difficulty;
        nested.complexity = hint.complexity;
        nested.sortKey = hint.sortKey;
        nested.removable.assign(hint.removable.begin(), hint.removable.end());
        RuleParents(hint, source, nested.parents);
        nested.fingerprint = Fingerprint(hint);
        found.push_back(std::move(nested));
    };
    Search(position, false, sink);
    std::stable_sort(found.begin(), found.end(), [](const NestedHint& a, const NestedHint& b) {
        if (a.difficulty != b.difficulty) {
            return a.difficulty < b.difficulty;
        }
        if (a.complexity != b.complexity) {
            return a.complexity < b.complexity;
        }
        return a.sortKey < b.sortKey;
    });
    std::set<std::vector<std::uint16_t>> seen;
    for (NestedHint& hint : found) {
        std::vector<std::uint16_t> key = hint.removable;
        std::sort(key.begin(), key.end());
        if (seen.insert(std::move(key)).second) {
            hints.push_back(std::move(hint));
        }
    }
}

// --- Links --------------------------------------------------------------------------------

// The two link functions are declared inline so that the compiler folds them into the chaining
// loops, whose innermost step they are; only this file calls them.
inline int Chainer::OnToOff(int candidate, bool y, Link* out) const {
    const Tables& t = kTables;
    const int cell = CellOf(candidate);
    const int digit = DigitOf(candidate);
    int count = 0;
    if (y) {
        unsigned others = grid_[cell] & ~DigitBit(digit) & kAllDigits;
        for (; others != 0; others &= others - 1) {
            out[count++] = {CandidateOf(cell, std::countr_zero(others) + 1), Cause::Cell};
        }
    }
    static constexpr Cause kCauses[3] = {Cause::Box, Cause::Row, Cause::Column};
    for (int kind = 0; kind < 3; ++kind) {
        const int house = t.cellHouses[cell][kind];
        unsigned positions = places_[house][digit - 1] & ~(1u << t.cellPlaces[cell][kind]);
        if (kind > 0) {
            positions &= ~static_cast<unsigned>(t.lineInBox[cell][kind - 1]);
        }
        for (; positions != 0; positions &= positions - 1) {
            out[count++] = {CandidateOf(t.houses[house][std::countr_zero(positions)], digit),
                            kCauses[kind]};
        }
    }
    return count;
}

inline int Chainer::OffToOn(int candidate, bool y, bool x, Link* out) const {
    const Tables& t = kTables;
    const int cell = CellOf(candidate);
    const int digit = DigitOf(candidate);
    int count = 0;
    if (y && t.bitCount[grid_[cell]] == 2) {
        const unsigned other = grid_[cell] & ~DigitBit(digit) & kAllDigits;
        out[count++] = {CandidateOf(cell, std::countr_zero(other) + 1), Cause::Cell};
    }
    if (x) {
        static constexpr Cause kCauses[3] = {Cause::Box, Cause::Row, Cause::Column};
        for (int kind = 0; kind < 3; ++kind) {
            const int house = t.cellHouses[cell][kind];
            const unsigned positions = places_[house][digit - 1];
            if (t.bitCount[positions] != 2) {
                continue;
            }
            const unsigned rest = positions & ~(1u << t.cellPlaces[cell][kind]);
            const int on = CandidateOf(t.houses[house][std::countr_zero(rest)], digit);
            // The same cell may be the other place in two houses: it is one consequence.
            bool repeated = false;
            for (int i = 0; i < count; ++i) {
                repeated = repeated || out[i].candidate == on;
            }
            if (!repeated) {
                out[count++] = {on, kCauses[kind]};
            }
        }
    }
    return count;
}

void Chainer::SetGrid(const Candidates81& grid) {
    grid_ = grid;
    for (auto& house : places_) {
        house.fill(0);
    }
    const Tables& t = kTables;
    for (int cell = 0; cell < kCellCount; ++cell) {
        for (unsigned digits = grid_[cell]; digits != 0; digits &= digits - 1) {
            const int d = std::countr_zero(digits);
            for (int kind = 0; kind < 3; ++kind) {
                places_[t.cellHouses[cell][kind]][d] |=
                    static_cast<std::uint16_t>(1u << t.cellPlaces[cell][kind]);
            }
        }
    }
}

void Chainer::RemoveCandidate(int candidate) {
    const Tables& t = kTables;
    const int cell = CellOf(candidate);
    const int d = DigitOf(candidate) - 1;
    grid_[cell] &= static_cast<Digits>(~(1u << d));
    for (int kind = 0; kind < 3; ++kind) {
        places_[t.cellHouses[cell][kind]][d] &=
            static_cast<std::uint16_t>(~(1u << t.cellPlaces[cell][kind]));
    }
}

const Chainer::StaticLinks<4>& Chainer::StaticOffToOn(int candidate, bool y, bool x) {
    const std::size_t kind = (y ? 2u : 0u) + (x ? 1u : 0u);
    StaticLinks<4>& made = staticOffToOn_[kind][static_cast<std::size_t>(candidate)];
    if (made.stamp != searchStamp_) {
        made.stamp = searchStamp_;
        made.count = OffToOn(candidate, y, x, made.links);
    }
    return made;
}

const Chainer::StaticLinks<28>& Chainer::StaticOnToOff(int candidate, bool y) {
    StaticLinks<28>& made = staticOnToOff_[y ? 1 : 0][static_cast<std::size_t>(candidate)];
    if (made.stamp != searchStamp_) {
        made.stamp = searchStamp_;
        made.count = OnToOff(candidate, y, made.links);
    }
    return made;
}

bool Chainer::Closes(int off, int source, bool y, bool x) {
    const auto& made = StaticOffToOn(off, y, x);
    for (int i = 0; i < made.count; ++i) {
        if (made.links[i].candidate == source) {
            return true;
        }
    }
    return false;
}

bool Chainer::IsAncestor(const Net& net, int node, int candidate, bool on) const {
    for (int p = net.FirstParent(node); p >= 0; p = net.FirstParent(p)) {
        if (net.At(p).candidate == candidate && net.At(p).on == on) {
            return true;
        }
    }
    return false;
}

// --- Complexity ---------------------------------------------------------------------------

int Chainer::CountAncestors(const Net& net, int node) {
    if (++stampNow_ == 0) {
        stamp_.fill(0);
        stampNow_ = 1;
    }
    int count = 0;
    stack_.clear();
    stack_.push_back(node);
    while (!stack_.empty()) {
        const int n = stack_.back();
        stack_.pop_back();
        const Node& at = net.At(n);
        std::uint32_t& seen = stamp_[Net::Key(at.candidate, at.on)];
        if (seen == stampNow_) {
            continue;
        }
        seen = stampNow_;
        ++count;
        if (at.nested >= 0) {
            found_.push_back(at.nested);
        }
        const int* parents = net.Parents(n);
        for (int i = 0; i < at.parentCount; ++i) {
            stack_.push_back(parents[i]);
        }
    }
    return count;
}

int Chainer::Complexity(std::span<const Target> targets) {
    found_.clear();
    int complexity = 0;
    for (const Target& target : targets) {
        complexity += CountAncestors(*target.net, target.node);
    }
    if (!found_.empty()) {
        nestedStamp_.resize(nestedComplexity_.size(), 0);
        const std::uint32_t mark = ++stampNow_;
        for (int serial : found_) {
            if (nestedStamp_[serial] != mark) {
                nestedStamp_[serial] = mark;
                complexity += nestedComplexity_[serial];
            }
        }
    }
    return complexity;
}

int Chainer::LowerComplexity(std::span<const Target> targets) const {
    int complexity = 0;
    for (const Target& target : targets) {
        complexity += target.net->At(target.node).depth + 1;
    }
    return complexity;
}

double Chainer::LengthDifficulty(double base, int complexity) const {
    double added = 0.0;
    int ceil = 4;
    const int length = complexity - 2;
    bool odd = false;
    while (length > ceil) {
        added += 0.1;
        ceil = odd ? ceil * 4 / 3 : ceil * 3 / 2;
        odd = !odd;
    }
    return base + added;
}

void Chainer::Conclude(int candidate, bool on, Hint& hint) {
    removable_.clear();
    if (on) {
        const int cell = CellOf(candidate);
        for (int d = 1; d <= 9; ++d) {
            if (d != DigitOf(candidate) && (grid_[cell] & DigitBit(d)) != 0) {
                removable_.push_back(static_cast<std::uint16_t>(CandidateOf(cell, d)));
            }
        }
        hint.placement = static_cast<std::uint16_t>(candidate);
    } else {
        removable_.push_back(static_cast<std::uint16_t>(candidate));
    }
    hint.removable = removable_;
}

void Chainer::Report(Hint& hint) {
    if (hint.removable.empty()) {
        return;
    }
    const double base = hint.difficulty;
    if (onlyBetter_ && haveBest_) {
        // Difficulty grows with complexity, and the first parents' depths bound it from below.
        // A cycle's last candidate is its first again, so it counts one less.
        const int lower = LowerComplexity(hint.targets) - (hint.kind == HintKind::Cycle ? 1 : 0);
        const double least = LengthDifficulty(base, lower);
        if (least > bestDifficulty_ ||
            (least == bestDifficulty_ &&
             (lower > bestComplexity_ ||
              (lower == bestComplexity_ && hint.sortKey >= bestSortKey_)))) {
            return;
        }
    }
    hint.complexity = Complexity(hint.targets);
    hint.difficulty = LengthDifficulty(base, hint.complexity);
    if (onlyBetter_) {
        if (haveBest_ &&
            (hint.difficulty > bestDifficulty_ ||
             (hint.difficulty == bestDifficulty_ &&
              (hint.complexity > bestComplexity_ ||
               (hint.complexity == bestComplexity_ && hint.sortKey >= bestSortKey_))))) {
            return;
        }
        haveBest_ = true;
        bestDifficulty_ = hint.difficulty;
        bestComplexity_ = hint.complexity;
        bestSortKey_ = hint.sortKey;
    }
    (*sink_)(hint);
}

void Chainer::RuleParents(const Hint& hint, const Candidates81& source,
                          std::vector<std::uint16_t>& out) {
    out.clear();
    std::array<bool, kCandidates> taken{};
    const auto take = [&](int candidate) {
        if (!taken[candidate]) {
            taken[candidate] = true;
            out.push_back(static_cast<std::uint16_t>(candidate));
        }
    };
    for (const Target& target : hint.targets) {
        const Net& net = *target.net;
        if (++stampNow_ == 0) {
            stamp_.fill(0);
            stampNow_ = 1;
        }
        stack_.clear();
        stack_.push_back(target.node);
        while (!stack_.empty()) {
            const int n = stack_.back();
            stack_.pop_back();
            const Node& at = net.At(n);
            std::uint32_t& seen = stamp_[Net::Key(at.candidate, at.on)];
            if (seen == stampNow_) {
                continue;
            }
            seen = stampNow_;
            const int* parents = net.Parents(n);
            for (int i = 0; i < at.parentCount; ++i) {
                stack_.push_back(parents[i]);
            }
            if (!at.on) {
                continue;
            }
            Cause cause = at.cause;
            if (cause == Cause::Assumption) {
                if (hint.kind == HintKind::Cell) {
                    cause = Cause::Cell;
                } else if (hint.kind == HintKind::Region) {
                    cause = RegionCause(hint.house);
                } else {
                    continue;
                }
            }
            const int cell = CellOf(at.candidate);
            const int digit = DigitOf(at.candidate);
            if (cause == Cause::Cell) {
                const Digits gone = static_cast<Digits>(source[cell] & ~grid_[cell]);
                for (int d = 1; d <= 9; ++d) {
                    if ((gone & DigitBit(d)) != 0) {
                        take(CandidateOf(cell, d));
                    }
                }
            } else if (cause != Cause::Advanced) {
                for (std::uint8_t other : kTables.houses[HouseOf(cause, cell)]) {
                    if ((source[other] & ~grid_[other] & DigitBit(digit)) != 0) {
                        take(CandidateOf(other, digit));
                    }
                }
            }
        }
    }
}

std::uint64_t Chainer::Fingerprint(const Hint& hint) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    const auto mix = [&hash](std::uint64_t value) { hash = (hash ^ value) * 0x100000001b3ull; };
    for (const Target& target : hint.targets) {
        const Net& net = *target.net;
        if (++stampNow_ == 0) {
            stamp_.fill(0);
            stampNow_ = 1;
        }
        mix(0xffff);
        stack_.clear();
        stack_.push_back(target.node);
        while (!stack_.empty()) {
            const int n = stack_.back();
            stack_.pop_back();
            const Node& at = net.At(n);
            std::uint32_t& seen = stamp_[Net::Key(at.candidate, at.on)];
            if (seen == stampNow_) {
                continue;
            }
            seen = stampNow_;
            mix(static_cast<std::uint64_t>(Net::Key(at.candidate, at.on)));
            const int* parents = net.Parents(n);
            for (int i = 0; i < at.parentCount; ++i) {
                stack_.push_back(parents[i]);
            }
        }
    }
    return hash;
}

// --- Cycles and forcing chains ------------------------------------------------------------

void Chainer::SearchCycles() {
    static constexpr bool kPasses[3][2] = {{false, true}, {true, false}, {true, true}};
    for (const auto& pass : kPasses) {
        for (int cell = 0; cell < kCellCount; ++cell) {
            if (digits_[cell] != 0 || CountDigits(grid_[cell]) < 2) {
                continue;
            }
            for (int digit = 1; digit <= 9; ++digit) {
                if ((grid_[cell] & DigitBit(digit)) != 0) {
                    if (effort_ != nullptr && effort_->Spent()) {
                        return;
                    }
                    Unary(cell, digit, pass[0], pass[1]);
                }
            }
        }
    }
}

void Chainer::Unary(int cell, int digit, bool y, bool x) {
    if (CountDigits(grid_[cell]) > 2 && !x) {
        return;
    }
    const int candidate = CandidateOf(cell, digit);
    Net& cycles = NetAt(0);
    cycles.Reset();
    cycles.Insert(cycles.Create(candidate, true, Cause::Assumption, -1));
    DoCycles(cycles, y, x, UsefulComplexity(x && y ? 7.0 : 6.5, x && y ? 4 : (y ? 3 : 2)));
    cycleEnds_.swap(found_);
    Net& fromOn = NetAt(1);
    Net& fromOff = NetAt(2);
    int onEnd = -1;
    int offEnd = -1;
    if (x) {
        const int useful = UsefulComplexity(y ? 7.0 : 6.6, y ? 4 : 2);
        fromOn.Reset();
        fromOn.Insert(fromOn.Create(candidate, true, Cause::Assumption, -1));
        DoForcingChains(fromOn, y, useful);
        onEnd = found_.empty() ? -1 : found_.front();
        fromOff.Reset();
        fromOff.Insert(fromOff.Create(candidate, false, Cause::Assumption, -1));
        DoForcingChains(fromOff, y, useful);
        offEnd = found_.empty() ? -1 : found_.front();
    }
    for (int end : cycleEnds_) {
        ReportCycle(cycles, end, y, x);
    }
    if (onEnd >= 0) {
        ReportForcingChain(fromOn, onEnd, y, x);
    }
    if (offEnd >= 0) {
        ReportForcingChain(fromOff, offEnd, y, x);
    }
}

int Chainer::UsefulComplexity(double base, int sortKey) const {
    if (!onlyBetter_ || !haveBest_) {
        return std::numeric_limits<int>::max();
    }
    int complexity = 1;
    for (;; ++complexity) {
        const double difficulty = LengthDifficulty(base, complexity);
        if (difficulty > bestDifficulty_ ||
            (difficulty == bestDifficulty_ &&
             (complexity > bestComplexity_ ||
              (complexity == bestComplexity_ && sortKey >= bestSortKey_)))) {
            return complexity - 1;
        }
    }
}

void Chainer::DoCycles(Net& net, bool y, bool x, int useful) {
    const int source = net.At(0).candidate;
    std::vector<int>& nextOn = pendingOn_;
    std::vector<int>& nextOff = pendingOff_;
    nextOn.assign(1, 0);
    nextOff.clear();
    found_.clear();
    int length = 0;
    // A cycle closing at the second layer of a round has as many candidates as layers so far.
    while ((!nextOn.empty() || !nextOff.empty()) && length + 2 <= useful) {
        ++length;
        for (int p : nextOn) {
            const auto& made = StaticOnToOff(net.At(p).candidate, y);
            const int count = made.count;
            const Link* links = made.links;
            for (int i = 0; i < count; ++i) {
                const int c = links[i].candidate;
                // Offs are walked once per way they are reached. On a grid that does not
                // change, a second way only leads to "on"s already known, so it matters
                // only where it closes the cycle. (An ancestor is always a known "off".)
                if (net.Find(c, false) < 0) {
                    const int n = net.Create(c, false, links[i].cause, p);
                    net.Insert(n);
                    nextOff.push_back(n);
                } else if (Closes(c, source, y, x) && !IsAncestor(net, p, c, false)) {
                    nextOff.push_back(net.Create(c, false, links[i].cause, p));
                }
            }
        }
        nextOn.clear();
        ++length;
        if (effort_ != nullptr) {
            effort_->left -= static_cast<long long>(nextOff.size());
        }
        for (int p : nextOff) {
            const auto& made = StaticOffToOn(net.At(p).candidate, y, x);
            const int count = made.count;
            const Link* links = made.links;
            for (int i = 0; i < count; ++i) {
                const bool closes = length >= 4 && links[i].candidate == source;
                const bool known = net.Find(links[i].candidate, true) >= 0;
                if (!closes && known) {
                    continue;
                }
                const int n = net.Create(links[i].candidate, true, links[i].cause, p);
                if (closes) {
                    found_.push_back(n);
                }
                if (!known) {
                    net.Insert(n);
                    nextOn.push_back(n);
                }
            }
        }
        nextOff.clear();
    }
}

void Chainer::DoForcingChains(Net& net, bool y, int useful) {
    const int source = net.At(0).candidate;
    const bool sourceOn = net.At(0).on;
    std::vector<int>& nextOn = pendingOn_;
    std::vector<int>& nextOff = pendingOff_;
    nextOn.clear();
    nextOff.clear();
    (sourceOn ? nextOn : nextOff).push_back(0);
    found_.clear();
    // The nodes of a layer share their depth; a chain ending in the next layer has two more
    // candidates than that.
    const auto tooLong = [&](const std::vector<int>& layer) {
        return !layer.empty() && net.At(layer.front()).depth + 2 > useful;
    };
    while (!nextOn.empty() || !nextOff.empty()) {
        if (tooLong(nextOn)) {
            break;
        }
        for (int p : nextOn) {
            const auto& made = StaticOnToOff(net.At(p).candidate, y);
            const int count = made.count;
            const Link* links = made.links;
            for (int i = 0; i < count; ++i) {
                const bool hit = sourceOn && links[i].candidate == source && found_.empty();
                const bool known = net.Find(links[i].candidate, false) >= 0;
                if (!hit && known) {
                    continue;
                }
                const int n = net.Create(links[i].candidate, false, links[i].cause, p);
                if (hit) {
                    found_.push_back(n);
                }
                if (!known) {
                    net.Insert(n);
                    nextOff.push_back(n);
                }
            }
        }
        nextOn.clear();
        if (effort_ != nullptr) {
            effort_->left -= static_cast<long long>(nextOff.size());
        }
        if (tooLong(nextOff)) {
            break;
        }
        for (int p : nextOff) {
            const auto& made = StaticOffToOn(net.At(p).candidate, y, true);
            const int count = made.count;
            const Link* links = made.links;
            for (int i = 0; i < count; ++i) {
                const bool hit = !sourceOn && links[i].candidate == source && found_.empty();
                const bool known = net.Find(links[i].candidate, true) >= 0;
                if (!hit && known) {
                    continue;
                }
                const int n = net.Create(links[i].candidate, true, links[i].cause, p);
                if (hit) {
                    found_.push_back(n);
                }
                if (!known) {
                    net.Insert(n);
                    nextOn.push_back(n);
                }
            }
        }
        nextOff.clear();
    }
}

void Chainer::ReportCycle(const Net& net, int node, bool y, bool x) {
    // The cells of the cycle, and what each side of it rules out around them: the candidates
    // seen by an "on" of one colouring and an "on" of the other go.
    std::array<bool, kCellCount> inCycle{};
    int cellCount = 0;
    for (int p = node; net.FirstParent(p) >= 0; p = net.FirstParent(p)) {
        const int cell = CellOf(net.At(p).candidate);
        if (!inCycle[cell]) {
            inCycle[cell] = true;
            ++cellCount;
        }
    }
    std::array<std::uint8_t, kCandidates>& side = side_;
    touched_.clear();
    for (int p = node; net.FirstParent(p) >= 0; p = net.FirstParent(p)) {
        const int cell = CellOf(net.At(p).candidate);
        const int digit = DigitOf(net.At(p).candidate);
        for (std::uint8_t peer : kTables.peers[cell]) {
            if (!inCycle[peer] && (grid_[peer] & DigitBit(digit)) != 0) {
                const int c = CandidateOf(peer, digit);
                if (side[c] == 0) {
                    touched_.push_back(static_cast<std::uint16_t>(c));
                }
                side[c] |= net.At(p).on ? 1 : 2;
            }
        }
    }
    std::sort(touched_.begin(), touched_.end());
    removable_.clear();
    for (std::uint16_t c : touched_) {
        if (side[c] == 3) {
            removable_.push_back(c);
        }
        side[c] = 0;
    }
    targets_.assign(1, Target{&net, node});
    Hint hint;
    hint.kind = HintKind::Cycle;
    hint.xChain = x;
    hint.yChain = y;
    hint.difficulty = x && y ? 7.0 : 6.5;
    hint.sortKey = x && y ? 4 : (y ? 3 : 2);
    hint.targets = targets_;
    hint.removable = removable_;
    hint.cycleCells = cellCount;
    Report(hint);
}

void Chainer::ReportForcingChain(const Net& net, int node, bool y, bool x) {
    Hint hint;
    Conclude(net.At(node).candidate, net.At(node).on, hint);
    targets_.assign(1, Target{&net, node});
    hint.kind = HintKind::ForcingChain;
    hint.xChain = x;
    hint.yChain = y;
    hint.difficulty = x && y ? 7.0 : 6.6;
    hint.sortKey = x && y ? 4 : (y ? 3 : 2);
    hint.targets = targets_;
    Report(hint);
}

// --- Multiple and dynamic chains ----------------------------------------------------------

void Chainer::SearchMultiple() {
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (digits_[cell] != 0) {
            continue;
        }
        const int count = CountDigits(grid_[cell]);
        if (count > 2 || (count > 1 && config_.dynamic)) {
            if (effort_ != nullptr && effort_->Spent()) {
                return;
            }
            ProcessCell(cell);
        }
    }
}

// The net of the assumption that a cell does not hold a digit, in use while the cell is
// processed; those of the assumptions that a cell holds a digit are kept for the whole search.
namespace {
constexpr std::size_t kOffNet = 3;
}  // namespace

const Net& Chainer::OnNet(int candidate) {
    std::unique_ptr<Net>& net = onNets_[static_cast<std::size_t>(candidate)];
    if (onNetStamp_[static_cast<std::size_t>(candidate)] == searchStamp_) {
        return *net;
    }
    if (!net) {
        net = std::make_unique<Net>();
    }
    net->Reset();
    net->Insert(net->Create(candidate, true, Cause::Assumption, -1));
    int absurdOn = -1;
    int absurdOff = -1;
    DoChaining(*net, absurdOn, absurdOff);
    onNetStamp_[static_cast<std::size_t>(candidate)] = searchStamp_;
    return *net;
}

void Chainer::ProcessCell(int cell) {
    const Digits digits = grid_[cell];
    const int count = CountDigits(digits);
    const bool doDouble = count >= 3 && !config_.nishio && config_.dynamic;
    const bool doContradiction = config_.dynamic || config_.nishio;
    Hint hint;
    for (int digit = 1; digit <= 9; ++digit) {
        if ((digits & DigitBit(digit)) == 0) {
            continue;
        }
        const int candidate = CandidateOf(cell, digit);
        const Net& onNet = OnNet(candidate);
        Net& offNet = NetAt(kOffNet);
        int absurdOn = -1;
        int absurdOff = -1;

        if (onNet.absurdOn >= 0 && doContradiction) {
            targets_ = {{&onNet, onNet.absurdOn}, {&onNet, onNet.absurdOff}};
            hint = Hint{};
            Conclude(candidate, false, hint);
            hint.kind = HintKind::Contradiction;
            hint.difficulty = BaseDifficulty();
            hint.sortKey = 7;
            hint.targets = targets_;
            Report(hint);
        }

        offNet.Reset();
        offNet.Insert(offNet.Create(candidate, false, Cause::Assumption, -1));
        if (DoChaining(offNet, absurdOn, absurdOff) && doContradiction) {
            targets_ = {{&offNet, absurdOn}, {&offNet, absurdOff}};
            hint = Hint{};
            Conclude(candidate, true, hint);
            hint.kind = HintKind::Contradiction;
            hint.difficulty = BaseDifficulty();
            hint.sortKey = 7;
            hint.targets = targets_;
            Report(hint);
        }

        if (doDouble) {
            for (bool on : {true, false}) {
                for (int n = 0; n < onNet.Size(); ++n) {
                    if (onNet.At(n).on != on || !onNet.InSet(n)) {
                        continue;
                    }
                    const int target = onNet.At(n).candidate;
                    const int other = offNet.Find(target, on);
                    if (other < 0) {
                        continue;
                    }
                    targets_ = {{&onNet, n}, {&offNet, other}};
                    hint = Hint{};
                    Conclude(target, on, hint);
                    hint.kind = HintKind::Double;
                    hint.difficulty = BaseDifficulty();
                    hint.sortKey = 1;
                    hint.targets = targets_;
                    Report(hint);
                }
            }
        }

        if (!config_.nishio) {
            DoRegionChainings(cell, digit, onNet);
        }
    }

    if (config_.nishio || !(count == 2 || (config_.multiple && count > 2))) {
        return;
    }
    const int first = std::countr_zero(static_cast<unsigned>(digits)) + 1;
    const Net& firstNet = OnNet(CandidateOf(cell, first));
    for (bool on : {true, false}) {
        Net::Bits common = firstNet.Set(on);
        for (int digit = first + 1; digit <= 9; ++digit) {
            if ((digits & DigitBit(digit)) != 0) {
                const Net::Bits& set = OnNet(CandidateOf(cell, digit)).Set(on);
                for (std::size_t w = 0; w < common.size(); ++w) {
                    common[w] &= set[w];
                }
            }
        }
        if (std::all_of(common.begin(), common.end(), [](std::uint64_t w) { return w == 0; })) {
            continue;
        }
        for (int n = 0; n < firstNet.Size(); ++n) {
            const int target = firstNet.At(n).candidate;
            if (firstNet.At(n).on != on || ((common[target / 64] >> (target % 64)) & 1) == 0 ||
                !firstNet.InSet(n)) {
                continue;
            }
            targets_.clear();
            for (int digit = first; digit <= 9; ++digit) {
                if ((digits & DigitBit(digit)) == 0) {
                    continue;
                }
                const Net& net = OnNet(CandidateOf(cell, digit));
                const int found = net.Find(target, on);
                if (found < 0) {
                    break;
                }
                targets_.push_back({&net, found});
            }
            if (static_cast<int>(targets_.size()) != count) {
                continue;
            }
            hint = Hint{};
            Conclude(target, on, hint);
            hint.kind = HintKind::Cell;
            hint.difficulty = BaseDifficulty();
            hint.sortKey = 5;
            hint.targets = targets_;
            Report(hint);
        }
    }
}

void Chainer::DoRegionChainings(int cell, int digit, const Net& onNet) {
    for (int house : {BoxHouse(cell), RowHouse(cell), ColumnHouse(cell)}) {
        const unsigned positions = places_[house][digit - 1];
        const int count = CountDigits(static_cast<Digits>(positions));
        if (!(count == 2 || (config_.multiple && count > 2))) {
            continue;
        }
        const auto& cells = kTables.houses[house];
        if (cells[std::countr_zero(positions)] != cell) {
            continue;
        }
        std::array<const Net*, 9> nets{};
        for (int i = 0; i < 9; ++i) {
            if ((positions & (1u << i)) != 0) {
                nets[i] = cells[i] == cell ? &onNet : &OnNet(CandidateOf(cells[i], digit));
            }
        }
        for (bool on : {true, false}) {
            Net::Bits common = onNet.Set(on);
            for (const Net* net : nets) {
                if (net != nullptr) {
                    const Net::Bits& set = net->Set(on);
                    for (std::size_t w = 0; w < common.size(); ++w) {
                        common[w] &= set[w];
                    }
                }
            }
            if (std::all_of(common.begin(), common.end(), [](std::uint64_t w) { return w == 0; })) {
                continue;
            }
            for (int n = 0; n < onNet.Size(); ++n) {
                const int target = onNet.At(n).candidate;
                if (onNet.At(n).on != on || ((common[target / 64] >> (target % 64)) & 1) == 0 ||
                    !onNet.InSet(n)) {
                    continue;
                }
                targets_.clear();
                for (int i = 0; i < 9; ++i) {
                    if (nets[i] == nullptr) {
                        continue;
                    }
                    const int found = nets[i]->Find(target, on);
                    if (found < 0) {
                        break;
                    }
                    targets_.push_back({nets[i], found});
                }
                if (static_cast<int>(targets_.size()) != count) {
                    continue;
                }
                Hint hint;
                Conclude(target, on, hint);
                hint.kind = HintKind::Region;
                hint.difficulty = BaseDifficulty();
                hint.sortKey = 6;
                hint.targets = targets_;
                hint.house = house;
                Report(hint);
            }
        }
    }
}

void Chainer::AddHiddenParents(Net& net, int node, Cause cause) {
    const int candidate = net.At(node).candidate;
    const int cell = CellOf(candidate);
    if (cause == Cause::Cell) {
        const Digits gone = static_cast<Digits>(save_[cell] & ~grid_[cell]);
        for (int d = 1; d <= 9; ++d) {
            if ((gone & DigitBit(d)) != 0) {
                net.AddParent(node, net.Find(CandidateOf(cell, d), false));
            }
        }
        return;
    }
    const int digit = DigitOf(candidate);
    for (std::uint8_t other : kTables.houses[HouseOf(cause, cell)]) {
        if ((save_[other] & ~grid_[other] & DigitBit(digit)) != 0) {
            net.AddParent(node, net.Find(CandidateOf(other, digit), false));
        }
    }
}

bool Chainer::DoChaining(Net& net, int& absurdOn, int& absurdOff) {
    // Only dynamic chains change the grid (the advanced deductions come with them).
    if (config_.dynamic) {
        save_ = grid_;
        savePlaces_ = places_;
    }
    pendingOn_.clear();
    pendingOff_.clear();
    for (int n = 0; n < net.Size(); ++n) {
        (net.At(n).on ? pendingOn_ : pendingOff_).push_back(n);
    }
    const bool y = !config_.nishio;
    std::size_t onHead = 0;
    std::size_t offHead = 0;
    bool absurd = false;
    Link links[32];
    while (onHead < pendingOn_.size() || offHead < pendingOff_.size()) {
        if (onHead < pendingOn_.size()) {
            const int p = pendingOn_[onHead++];
            const int count = OnToOff(net.At(p).candidate, y, links);
            for (int i = 0; i < count && !absurd; ++i) {
                const int conjugate = net.Find(links[i].candidate, true);
                if (conjugate >= 0) {
                    absurdOn = conjugate;
                    absurdOff = net.Create(links[i].candidate, false, links[i].cause, p);
                    absurd = true;
                } else if (net.Find(links[i].candidate, false) < 0) {
                    const int n = net.Create(links[i].candidate, false, links[i].cause, p);
                    net.Insert(n);
                    pendingOff_.push_back(n);
                }
            }
        } else {
            const int p = pendingOff_[offHead++];
            const int candidate = net.At(p).candidate;
            const int count = OffToOn(candidate, y, true, links);
            for (int i = 0; i < count && !absurd; ++i) {
                const int conjugate = net.Find(links[i].candidate, false);
                if (conjugate < 0 && net.Find(links[i].candidate, true) >= 0) {
                    continue;
                }
                const int n = net.Create(links[i].candidate, true, links[i].cause, p);
                if (config_.dynamic) {
                    AddHiddenParents(net, n, links[i].cause);
                }
                if (conjugate >= 0) {
                    absurdOn = n;
                    absurdOff = conjugate;
                    absurd = true;
                } else {
                    net.Insert(n);
                    pendingOn_.push_back(n);
                }
            }
            if (config_.dynamic) {
                RemoveCandidate(candidate);
            }
        }
        if (absurd) {
            break;
        }
        if (config_.level > 0 && onHead == pendingOn_.size() && offHead == pendingOff_.size()) {
            if (effort_ != nullptr && effort_->Spent()) {
                break;
            }
            AddAdvanced(net, pendingOff_);
        }
    }
    if (effort_ != nullptr) {
        effort_->left -= net.Size();
    }
    if (config_.dynamic) {
        grid_ = save_;
        places_ = savePlaces_;
    }
    net.absurdOn = absurd ? absurdOn : -1;
    net.absurdOff = absurd ? absurdOff : -1;
    return absurd;
}

void Chainer::AddAdvanced(Net& net, std::vector<int>& pendingOff) {
    Position position;
    position.digits = digits_;
    position.candidates = grid_;
    std::vector<Proposal>& proposals = proposals_;
    std::vector<int>& parents = proposalParents_;
    proposals.clear();
    parents.clear();
    const auto fromStep = [&](Step&& step) {
        const std::size_t first = parents.size();
        for (const Candidate& premise : step.premises) {
            const int c = CandidateOf(premise.cell, premise.digit);
            if ((save_[premise.cell] & ~grid_[premise.cell] & DigitBit(premise.digit)) != 0) {
                const int node = net.Find(c, false);
                if (node >= 0) {
                    parents.push_back(node);
                }
            }
        }
        if (parents.size() == first) {
            return true;
        }
        for (const Candidate& gone : step.eliminations) {
            proposals.push_back(
                {CandidateOf(gone.cell, gone.digit), first, parents.size() - first, -1});
        }
        return true;
    };
    FindLocking(position, false, fromStep);
    if (proposals.empty()) {
        FindHiddenSets(position, 2, false, fromStep);
    }
    if (proposals.empty()) {
        FindNakedSets(position, 2, fromStep);
    }
    if (proposals.empty()) {
        FindFish(position, 2, fromStep);
    }
    for (std::size_t rule = 0; rule < otherRules_.size() && proposals.empty(); ++rule) {
        if (effort_ != nullptr && effort_->Spent()) {
            break;
        }
        otherRules_[rule]->Collect(position, save_, nestedHints_);
        for (const NestedHint& nested : nestedHints_) {
            const std::size_t first = parents.size();
            for (std::uint16_t c : nested.parents) {
                const int node = net.Find(c, false);
                if (node >= 0) {
                    parents.push_back(node);
                }
            }
            if (parents.size() == first) {
                continue;
            }
            for (std::uint16_t c : nested.removable) {
                proposals.push_back({c, first, parents.size() - first,
                                     static_cast<int>(&nested - nestedHints_.data())});
            }
        }
    }
    for (const Proposal& proposal : proposals) {
        if (net.Find(proposal.candidate, false) >= 0) {
            continue;
        }
        const int n =
            net.Create(proposal.candidate, false, Cause::Advanced, parents[proposal.firstParent]);
        for (std::size_t i = 1; i < proposal.parentCount; ++i) {
            net.AddParent(n, parents[proposal.firstParent + i]);
        }
        if (proposal.nested >= 0) {
            const NestedHint& nested = nestedHints_[static_cast<std::size_t>(proposal.nested)];
            const auto [at, added] =
                serialOf_.try_emplace(nested.fingerprint, static_cast<int>(serialOf_.size()));
            if (added) {
                nestedComplexity_.push_back(nested.complexity);
            }
            net.SetNested(n, at->second);
        }
        net.Insert(n);
        pendingOff.push_back(n);
    }
}

}  // namespace sudoku::rating::chain
