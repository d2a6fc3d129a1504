#include "sudoku/generator.h"

#include <algorithm>
#include <numeric>

#include "sudoku/grader.h"

namespace sudoku {

namespace {

// Fisher-Yates with our own draw, so that a seed gives the same order with any standard
// library (std::shuffle and the distributions are free to differ between them).
void Shuffle(std::array<int, kCellCount>& items, Random& random) {
    for (int i = kCellCount - 1; i > 0; --i) {
        // The top 53 bits modulo at most 81: the bias is below 2^-46.
        int j = static_cast<int>((random() >> 11) % static_cast<std::uint64_t>(i + 1));
        std::swap(items[i], items[j]);
    }
}

// How far a puzzle has gone beyond the easier sets of techniques. Removing a given only
// widens the candidates, so the reach never shrinks as givens go.
enum class Reach { Singles, MediumSet, Beyond };

Reach ReachFor(Level level) {
    switch (level) {
        case Level::Easy:
            return Reach::Singles;
        case Level::Medium:
            return Reach::MediumSet;
        case Level::Hard:
            return Reach::Beyond;
    }
    return Reach::Singles;
}

// Whether puzzle, just emptied of one more cell, still has exactly one solution and stays
// within level; reach is the puzzle's reach before the removal, moved on when it is kept.
// The checks run cheapest first: the singles settle most removals, the solver refuses most
// of the others (several solutions), and the medium set sees only unique puzzles.
bool KeepsRemoval(Level level, const Grid& puzzle, Reach& reach) {
    if (reach == Reach::Singles && GradePuzzle(puzzle, kSingles).Solved()) {
        return true;
    }
    if (level == Level::Easy || !HasUniqueSolution(puzzle)) {
        return false;
    }
    if (reach == Reach::Beyond) {
        return true;
    }
    if (GradePuzzle(puzzle, kMediumSet).Solved()) {
        reach = Reach::MediumSet;
        return true;
    }
    if (level == Level::Medium) {
        return false;
    }
    reach = Reach::Beyond;
    return true;
}

// Puts givens back into a Medium puzzle with more than maxEmptied empty cells while the
// singles still cannot solve it; whether it got down to maxEmptied. More givens keep the
// one solution and what solves the puzzle, so only the singles need checking.
bool FillBack(GeneratedPuzzle& out, const std::array<int, kCellCount>& order, int emptied,
              int maxEmptied) {
    for (auto cell = order.begin(); cell != order.end() && emptied > maxEmptied; ++cell) {
        if (out.puzzle.cells[*cell] != 0) {
            continue;
        }
        out.puzzle.cells[*cell] = out.solution.cells[*cell];
        if (GradePuzzle(out.puzzle, kSingles).Solved()) {
            out.puzzle.cells[*cell] = 0;
        } else {
            --emptied;
        }
    }
    return emptied <= maxEmptied;
}

// One try at a puzzle of level from a fresh solved grid: empties its cells in random order,
// keeping each removal KeepsRemoval allows, and says whether the puzzle reached the class
// within maxEmptied. A removal refused once would be refused later too, so one pass leaves a
// puzzle from which no further removal can be kept: for Hard, a minimal puzzle.
bool Attempt(Level level, int maxEmptied, Random& random, GeneratedPuzzle& out) {
    out.solution = RandomSolvedGrid(random);
    out.puzzle = out.solution;
    std::array<int, kCellCount> order;
    std::iota(order.begin(), order.end(), 0);
    Shuffle(order, random);

    // A Medium puzzle empties freely and gives cells back after, since it would spend a
    // small room on removals the singles follow before going beyond them.
    int room = level == Level::Medium ? kCellCount : maxEmptied;
    Reach reach = Reach::Singles;
    int emptied = 0;
    for (int cell : order) {
        bool full = emptied == room;
        // Out of room, Easy stops where it is, and Hard short of its class fails; Hard
        // within it goes on checking that no given could go, as a minimal puzzle needs.
        if (full && (level != Level::Hard || reach != Reach::Beyond)) {
            break;
        }
        out.puzzle.cells[cell] = 0;
        if (!KeepsRemoval(level, out.puzzle, reach)) {
            out.puzzle.cells[cell] = out.solution.cells[cell];
        } else if (full) {
            out.puzzle.cells[cell] = out.solution.cells[cell];
            return false;
        } else {
            ++emptied;
        }
    }
    if (reach != ReachFor(level)) {
        return false;
    }
    return level != Level::Medium || FillBack(out, order, emptied, maxEmptied);
}

}  // namespace

std::optional<Level> LevelForNumber(int levelNumber) {
    if (levelNumber < 0 || levelNumber > kCellCount) {
        return std::nullopt;
    }
    if (levelNumber <= 57) {
        return Level::Easy;
    }
    return levelNumber <= 73 ? Level::Medium : Level::Hard;
}

GeneratedPuzzle Generate(Level level, int maxEmptied, Random& random) {
    // A try succeeds often enough to wait for: a third of the time at the usual limits, and
    // still one in six (Medium) or five (Hard) at the least room allowed. Running out of
    // tries is then as likely as never, but ends in an easier class rather than a hang.
    constexpr int kMaxAttempts = 200;
    maxEmptied = std::clamp(maxEmptied, 0, kCellCount);
    if (level == Level::Hard && maxEmptied < kHardMinEmptied) {
        level = Level::Medium;
    }
    if (level == Level::Medium && maxEmptied < kMediumMinEmptied) {
        level = Level::Easy;
    }
    GeneratedPuzzle generated;
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        if (Attempt(level, maxEmptied, random, generated)) {
            return generated;
        }
    }
    return Generate(level == Level::Hard ? Level::Medium : Level::Easy, maxEmptied, random);
}

}  // namespace sudoku
