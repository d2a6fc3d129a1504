#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/position.h"
#include "sudoku/rating/step.h"

// Helpers shared by the finders of the basic techniques; not part of the rater's interface.
namespace sudoku::rating::detail {

// The number of bits set. The build targets the baseline instruction set, which has no
// population count: there std::popcount is a call into the runtime library, and the finders
// count bits in their innermost loops.
inline int BitCount(std::uint64_t bits) {
    bits -= (bits >> 1) & 0x5555555555555555ull;
    bits = (bits & 0x3333333333333333ull) + ((bits >> 2) & 0x3333333333333333ull);
    bits = (bits + (bits >> 4)) & 0x0f0f0f0f0f0f0f0full;
    return static_cast<int>((bits * 0x0101010101010101ull) >> 56);
}

// The bit counts of the numbers below 512 (sets of digits, places in a house), for Count.
inline constexpr auto kNineBitCounts = [] {
    std::array<std::uint8_t, 512> counts{};
    for (unsigned bits = 1; bits < 512; ++bits) {
        counts[bits] = static_cast<std::uint8_t>(counts[bits >> 1] + (bits & 1));
    }
    return counts;
}();

// A set of cells: bit i of words[0] is cell i (0 to 63), bit i of words[1] is cell 64 + i.
struct CellSet {
    std::uint64_t words[2] = {0, 0};

    void Add(int cell) { words[cell >> 6] |= std::uint64_t{1} << (cell & 63); }
    void Erase(int cell) { words[cell >> 6] &= ~(std::uint64_t{1} << (cell & 63)); }
    bool Has(int cell) const { return (words[cell >> 6] >> (cell & 63)) & 1u; }
    int Count() const { return BitCount(words[0]) + BitCount(words[1]); }
    bool Empty() const { return (words[0] | words[1]) == 0; }
    // Count() >= 2, without counting.
    bool HasTwo() const {
        return (words[0] & (words[0] - 1)) != 0 || (words[1] & (words[1] - 1)) != 0 ||
               (words[0] != 0 && words[1] != 0);
    }
    CellSet operator&(const CellSet& other) const {
        return {{words[0] & other.words[0], words[1] & other.words[1]}};
    }
    CellSet operator|(const CellSet& other) const {
        return {{words[0] | other.words[0], words[1] | other.words[1]}};
    }
    CellSet Minus(const CellSet& other) const {
        return {{words[0] & ~other.words[0], words[1] & ~other.words[1]}};
    }
    // Calls f(cell) for each cell in increasing order.
    template <typename F>
    void ForEach(F&& f) const {
        for (int w = 0; w < 2; ++w) {
            for (std::uint64_t bits = words[w]; bits != 0; bits &= bits - 1) {
                f(w * 64 + std::countr_zero(bits));
            }
        }
    }
};

// The cells of a house, and the 20 peers of a cell, as sets.
const CellSet& HouseSet(int house);
const CellSet& PeerSet(int cell);

// Houses in the order the scale's finders of singles and sets scan them: the boxes, then the
// columns, then the rows.
extern const int kBoxColumnRowOrder[kHouseCount];

inline int Count(unsigned bits) {
    return bits < kNineBitCounts.size() ? kNineBitCounts[bits] : BitCount(bits);
}

// The places (bit i for the house's cell i) where digit is a candidate in house.
inline unsigned Places(const Position& position, int house, int digit) {
    const Digits bit = DigitBit(digit);
    unsigned places = 0;
    const auto& cells = HouseCells()[house];
    for (int i = 0; i < kSize; ++i) {
        places |= static_cast<unsigned>((position.candidates[cells[i]] & bit) != 0) << i;
    }
    return places;
}

inline int EmptyCount(const Position& position, int house) {
    int count = 0;
    for (std::uint8_t cell : HouseCells()[house]) {
        count += position.digits[cell] == 0;
    }
    return count;
}

// The next bit pattern after bits with as many bits set (bits in increasing numeric order, the
// order in which the scale tries tuples of digits, places and lines).
inline unsigned NextCombination(unsigned bits) {
    const unsigned smallest = bits & (~bits + 1);
    const unsigned ripple = bits + smallest;
    return ripple | (((bits ^ ripple) >> 2) / smallest);
}

inline Candidate MakeCandidate(int cell, int digit) {
    return Candidate{static_cast<std::uint8_t>(cell), static_cast<std::uint8_t>(digit)};
}

// Sends step to sink; true when the search should go on.
inline bool Emit(const StepSink& sink, Step&& step) {
    return sink(std::move(step));
}

}  // namespace sudoku::rating::detail
