#pragma once

// The implication net of one assumption: every candidate the assumption makes true ("on") or
// false ("off"), each with the deductions it follows from. Internal to the chaining rules.

#include <array>
#include <cstdint>
#include <vector>

#include "sudoku/rating/position.h"

namespace sudoku::rating::chain {

// A candidate as one number: cell * 9 + digit - 1, 0 to 728.
inline constexpr int kCandidates = kCellCount * 9;
inline int CandidateOf(int cell, int digit) {
    return cell * 9 + digit - 1;
}
inline int CellOf(int candidate) {
    return candidate / 9;
}
inline int DigitOf(int candidate) {
    return candidate % 9 + 1;
}

using Candidates81 = std::array<Digits, kCellCount>;

// Why a deduction holds: the assumption itself, a cell or house with one place left, or
// another technique (a basic one, or a nested chain) applied to what the chain ruled out.
enum class Cause : std::uint8_t { Assumption, Cell, Box, Row, Column, Advanced };

struct Node {
    std::uint16_t candidate = 0;
    bool on = false;
    Cause cause = Cause::Assumption;
    // The number of links from the assumption along first parents: a lower bound of the
    // node's ancestor count minus one, and exactly that in a net without hidden parents.
    std::uint16_t depth = 0;
    std::uint32_t firstParent = 0;  // index into Net::parents
    std::uint16_t parentCount = 0;
    // The serial of the nested chain an advanced deduction came from, or -1.
    std::int32_t nested = -1;
};

// Nodes are kept in creation order. The net's sets (the on and the off candidates) hold at
// most one node per candidate and state, the first inserted; other nodes (a contradiction's
// last link, the duplicates a cycle search walks) exist only for their chains.
class Net {
public:
    Net() { lookup_.fill(-1); }

    void Reset() {
        for (const Node& node : nodes_) {
            lookup_[Key(node.candidate, node.on)] = -1;
        }
        nodes_.clear();
        parents_.clear();
        for (auto& set : sets_) {
            set.fill(0);
        }
        absurdOn = -1;
        absurdOff = -1;
    }

    // Creates a node whose first parent is parent (-1 for an assumption); further parents
    // follow with AddParent before the next node is created.
    int Create(int candidate, bool on, Cause cause, int parent) {
        Node node;
        node.candidate = static_cast<std::uint16_t>(candidate);
        node.on = on;
        node.cause = cause;
        node.firstParent = static_cast<std::uint32_t>(parents_.size());
        if (parent >= 0) {
            node.depth = static_cast<std::uint16_t>(nodes_[parent].depth + 1);
            node.parentCount = 1;
            parents_.push_back(parent);
        }
        nodes_.push_back(node);
        return static_cast<int>(nodes_.size()) - 1;
    }
    void AddParent(int node, int parent) {
        parents_.push_back(parent);
        ++nodes_[node].parentCount;
    }
    void SetNested(int node, int serial) { nodes_[node].nested = serial; }

    void Insert(int node) {
        const Node& at = nodes_[node];
        lookup_[Key(at.candidate, at.on)] = node;
        sets_[at.on ? 1 : 0][at.candidate / 64] |= std::uint64_t{1} << (at.candidate % 64);
    }
    // The node of the set for candidate in that state, or -1.
    int Find(int candidate, bool on) const { return lookup_[Key(candidate, on)]; }
    bool InSet(int node) const {
        return lookup_[Key(nodes_[node].candidate, nodes_[node].on)] == node;
    }

    // The candidates of the set in that state, as bits.
    using Bits = std::array<std::uint64_t, (kCandidates + 63) / 64>;
    const Bits& Set(bool on) const { return sets_[on ? 1 : 0]; }

    const Node& At(int node) const { return nodes_[node]; }
    int Size() const { return static_cast<int>(nodes_.size()); }
    const int* Parents(int node) const { return parents_.data() + nodes_[node].firstParent; }
    int FirstParent(int node) const {
        return nodes_[node].parentCount == 0 ? -1 : parents_[nodes_[node].firstParent];
    }

    static int Key(int candidate, bool on) { return candidate * 2 + (on ? 1 : 0); }

    // When the assumption led to a contradiction: the two nodes of the candidate made both
    // true and false, where the net stops. -1 otherwise.
    int absurdOn = -1;
    int absurdOff = -1;

private:
    std::vector<Node> nodes_;
    std::vector<int> parents_;
    std::array<std::int32_t, kCandidates * 2> lookup_{};
    std::array<Bits, 2> sets_{};
};

}  // namespace sudoku::rating::chain
