#pragma once

// The search behind the chaining rules: cycles and forcing chains, Nishio, multiple and
// dynamic forcing chains, and dynamic chains helped by other techniques. Internal to the
// chaining rules; chaining.h is their interface.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include "sudoku/rating/chain_net.h"
#include "sudoku/rating/chaining.h"

namespace sudoku::rating::chain {

struct Config {
    bool multiple = false;  // cell and region forcing chains
    bool dynamic = false;   // the chains work on a grid from which their deductions are removed
    bool nishio = false;    // no cell links, contradictions only
    // 0: chains alone; 1: helped by the basic techniques; 2 to 5: also by forcing chains (2),
    // multiple forcing chains (3), dynamic forcing chains (4), and those helped in turn (5).
    int level = 0;
};

Config ConfigOf(ChainRule rule);

// The work a search may do, counted in deductions made, shared by a search and every search
// nested in it. Once spent, each search stops before its next assumption and reports what it
// found: every such deduction still holds, the search only misses easier ones.
struct Effort {
    long long left = 0;
    bool Spent() const { return left <= 0; }
};

enum class HintKind : std::uint8_t { Cycle, ForcingChain, Contradiction, Double, Cell, Region };

struct Target {
    const Net* net = nullptr;
    int node = -1;
};

// One step a chaining rule found. The spans point into the search and live as long as the
// report.
struct Hint {
    HintKind kind = HintKind::Cycle;
    bool xChain = true;
    bool yChain = true;
    // The scale's number in floating point, as the scale computes it: equal numbers and the
    // order of hints depend on its exact value.
    double difficulty = 0;
    int complexity = 0;
    int sortKey = 0;
    std::span<const Target> targets;
    std::span<const std::uint16_t> removable;  // candidates, cell * 9 + digit - 1
    std::optional<std::uint16_t> placement;
    int house = -1;      // the region of a region forcing chain
    int cycleCells = 0;  // the cells of a cycle: an X-cycle on four is a generalized X-wing
};

using HintSink = std::function<void(const Hint&)>;

// A hint of a rule used inside an enclosing chain, reduced to what that chain needs.
struct NestedHint {
    double difficulty = 0;
    int complexity = 0;
    int sortKey = 0;
    std::vector<std::uint16_t> removable;
    // The candidates of the enclosing chain's grid that the hint relies on being gone.
    std::vector<std::uint16_t> parents;
    // Equal for two hints whose chains are the same deductions in the same order: a chain
    // that uses such hints twice counts their complexity once.
    std::uint64_t fingerprint = 0;
};

class Chainer {
public:
    Chainer(Config config, Effort* effort);
    ~Chainer();
    Chainer(const Chainer&) = delete;
    Chainer& operator=(const Chainer&) = delete;

    // Reports the hints the rule finds in position, in the order the rule meets them. With
    // onlyBetter, only a hint easier than all reported before it (by difficulty, then
    // complexity, then sort key), which lets the search skip the work on harder ones.
    void Search(const Position& position, bool onlyBetter, const HintSink& sink);

    // Every hint the rule finds in position, easiest first, without two that remove the same
    // candidates: what an enclosing chain at grid source sees of this rule.
    void Collect(const Position& position, const Candidates81& source,
                 std::vector<NestedHint>& hints);

    double BaseDifficulty() const;

private:
    struct Link {
        int candidate;
        Cause cause;
    };
    // A deduction another technique offers an assumption's net: the candidate it rules out,
    // the net's nodes it rests on (in proposalParents_), the nested hint it came from.
    struct Proposal {
        int candidate;
        std::size_t firstParent;
        std::size_t parentCount;
        int nested;  // index into nestedHints_, -1 for a basic technique
    };

    void SearchCycles();
    void Unary(int cell, int digit, bool y, bool x);
    // useful: the most candidates a chain may have and still be easier than the best hint
    // so far; the search goes no deeper.
    void DoCycles(Net& net, bool y, bool x, int useful);
    void DoForcingChains(Net& net, bool y, int useful);
    int UsefulComplexity(double base, int sortKey) const;
    void ReportCycle(const Net& net, int node, bool y, bool x);
    void ReportForcingChain(const Net& net, int node, bool y, bool x);

    void SearchMultiple();
    void ProcessCell(int cell);
    void DoRegionChainings(int cell, int digit, const Net& onNet);
    // The net of the assumption that candidate is true, made once per search.
    const Net& OnNet(int candidate);
    void SetGrid(const Candidates81& grid);
    void RemoveCandidate(int candidate);
    // Completes net from its assumptions; true, with the two nodes, on a contradiction.
    bool DoChaining(Net& net, int& absurdOn, int& absurdOff);
    void AddAdvanced(Net& net, std::vector<int>& pendingOff);
    void AddHiddenParents(Net& net, int node, Cause cause);

    // What an "off" makes true on a grid the search does not change (the cycles and forcing
    // chains), worked out once per search and candidate.
    // An "off" makes at most 4 candidates true; an "on" rules out at most 8 other digits and
    // 20 peers.
    template <int kMost>
    struct StaticLinks {
        std::uint32_t stamp = 0;
        int count = 0;
        Link links[kMost];
    };
    const StaticLinks<4>& StaticOffToOn(int candidate, bool y, bool x);
    const StaticLinks<28>& StaticOnToOff(int candidate, bool y);
    // Whether off, once false, makes source true.
    bool Closes(int off, int source, bool y, bool x);
    int OnToOff(int candidate, bool y, Link* out) const;
    int OffToOn(int candidate, bool y, bool x, Link* out) const;
    bool IsAncestor(const Net& net, int node, int candidate, bool on) const;

    int CountAncestors(const Net& net, int node);
    int Complexity(std::span<const Target> targets);
    int LowerComplexity(std::span<const Target> targets) const;
    double LengthDifficulty(double base, int complexity) const;
    // What every branch proves of candidate: true places it and rules out the cell's other
    // digits, false rules it out. Fills removable_ and hint's removable and placement.
    void Conclude(int candidate, bool on, Hint& hint);
    void Report(Hint& hint);
    void RuleParents(const Hint& hint, const Candidates81& source, std::vector<std::uint16_t>& out);
    std::uint64_t Fingerprint(const Hint& hint);

    Net& NetAt(std::size_t index);

    Config config_;
    Effort* effort_;
    std::array<std::uint8_t, kCellCount> digits_{};
    Candidates81 grid_{};  // the grid the chains work on, changed and restored by dynamic ones
    Candidates81 save_{};
    // places_[house][digit - 1]: the places (bits 0 to 8 of the house's cells) left to digit.
    std::array<std::array<std::uint16_t, 9>, kHouseCount> places_{};
    std::array<std::array<std::uint16_t, 9>, kHouseCount> savePlaces_{};
    std::uint32_t searchStamp_ = 0;
    std::vector<std::unique_ptr<Net>> onNets_;
    std::vector<std::uint32_t> onNetStamp_;
    // By y * 2 + x, then candidate.
    std::array<std::vector<StaticLinks<4>>, 4> staticOffToOn_;
    std::array<std::vector<StaticLinks<28>>, 2> staticOnToOff_;  // by y
    std::array<std::uint8_t, kCandidates> side_{};
    std::vector<std::uint16_t> touched_;
    const HintSink* sink_ = nullptr;
    bool onlyBetter_ = false;
    bool haveBest_ = false;
    double bestDifficulty_ = 0;
    int bestComplexity_ = 0;
    int bestSortKey_ = 0;

    std::vector<std::unique_ptr<Net>> nets_;
    std::vector<int> pendingOn_;
    std::vector<int> pendingOff_;
    std::vector<int> found_;
    std::vector<int> cycleEnds_;
    std::vector<Target> targets_;
    std::vector<std::uint16_t> removable_;
    std::vector<int> stack_;
    std::array<std::uint32_t, kCandidates * 2> stamp_{};
    std::uint32_t stampNow_ = 0;

    // The complexities of the nested hints that advanced deductions of the current cell's
    // nets came from, by serial.
    std::vector<int> nestedComplexity_;
    std::unordered_map<std::uint64_t, int> serialOf_;
    std::vector<std::uint32_t> nestedStamp_;
    std::vector<std::unique_ptr<Chainer>> otherRules_;
    std::vector<NestedHint> nestedHints_;
    std::vector<Proposal> proposals_;
    std::vector<int> proposalParents_;
};

}  // namespace sudoku::rating::chain
