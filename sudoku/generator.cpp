#include "sudoku/generator.h"

#include <algorithm>
#include <numeric>
#include <variant>

#include "sudoku/rating/rater.h"

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

// The rating of puzzle when it has exactly one solution and needs no step harder than most;
// nothing otherwise. The ceiling lets the rater stop at the first step too hard.
std::optional<int> RatingWithin(const Grid& puzzle, int most) {
    auto rated = rating::RatePuzzle(puzzle, rating::RatingLimits{.ceiling = most});
    const auto* rating = std::get_if<rating::Rating>(&rated);
    if (rating == nullptr || rating->difficulty > most) {
        return std::nullopt;
    }
    return rating->difficulty;
}

// Puts givens back into a Medium puzzle with more than maxEmptied empty cells while it stays
// in band; whether it got down to maxEmptied. A given more keeps the one solution, and
// mostly the rating or less, but the easiest path may change, so both ends are checked.
bool FillBack(GeneratedPuzzle& out, const std::array<int, kCellCount>& order, int emptied,
              int maxEmptied, RatingBand band) {
    for (auto cell = order.begin(); cell != order.end() && emptied > maxEmptied; ++cell) {
        if (out.puzzle.cells[*cell] != 0) {
            continue;
        }
        out.puzzle.cells[*cell] = out.solution.cells[*cell];
        std::optional<int> rating = RatingWithin(out.puzzle, band.most);
        if (!rating || *rating < band.least) {
            out.puzzle.cells[*cell] = 0;
        } else {
            --emptied;
        }
    }
    return emptied <= maxEmptied;
}

// One try at an Easy or Medium puzzle from the solved grid in out: empties its cells in
// order, keeping each removal that leaves one solution and no step above the band, and says
// whether the puzzle reached the band within maxEmptied. Removing a given widens the
// candidates, so the rating grows, but for rare turns of the easiest path, as givens go: a
// removal refused once would be refused later too, and one pass is enough.
bool AttemptByRemoval(Level level, int maxEmptied, const std::array<int, kCellCount>& order,
                      GeneratedPuzzle& out) {
    const RatingBand band = BandOf(level);
    // A Medium puzzle empties freely and gives cells back after, since it would spend a
    // small room on removals the direct techniques follow before going beyond them.
    const int room = level == Level::Medium ? kCellCount : maxEmptied;
    int emptied = 0;
    int rating = 0;
    for (int cell : order) {
        if (emptied == room) {
            break;
        }
        out.puzzle.cells[cell] = 0;
        if (std::optional<int> within = RatingWithin(out.puzzle, band.most)) {
            rating = *within;
            ++emptied;
        } else {
            out.puzzle.cells[cell] = out.solution.cells[cell];
        }
    }
    if (level == Level::Easy) {
        return true;
    }
    return rating >= band.least && FillBack(out, order, emptied, maxEmptied, band);
}

// One try at a Hard puzzle: a minimal puzzle by one pass of removals that keep one solution,
// within maxEmptied (out of room, it goes on checking that no given could go, and fails if
// one could), then rated once, since minimal puzzles are in the band often enough.
bool AttemptMinimal(int maxEmptied, const std::array<int, kCellCount>& order,
                    GeneratedPuzzle& out) {
    int emptied = 0;
    for (int cell : order) {
        out.puzzle.cells[cell] = 0;
        if (!HasUniqueSolution(out.puzzle)) {
            out.puzzle.cells[cell] = out.solution.cells[cell];
        } else if (emptied == maxEmptied) {
            out.puzzle.cells[cell] = out.solution.cells[cell];
            return false;
        } else {
            ++emptied;
        }
    }
    const RatingBand band = BandOf(Level::Hard);
    std::optional<int> rating = RatingWithin(out.puzzle, band.most);
    return rating && *rating >= band.least;
}

bool Attempt(Level level, int maxEmptied, Random& random, GeneratedPuzzle& out) {
    out.solution = RandomSolvedGrid(random);
    out.puzzle = out.solution;
    std::array<int, kCellCount> order;
    std::iota(order.begin(), order.end(), 0);
    Shuffle(order, random);
    return level == Level::Hard ? AttemptMinimal(maxEmptied, order, out)
                                : AttemptByRemoval(level, maxEmptied, order, out);
}

}  // namespace

RatingBand BandOf(Level level) {
    switch (level) {
        case Level::Easy:
            return {10, 23};
        case Level::Medium:
            return {25, 44};
        case Level::Hard:
            return {45, 72};
    }
    return {10, 23};
}

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
    // A try succeeds two times in five (Medium) or one in five (Hard) at the usual limits,
    // and still one in four or one in ten at the least room allowed. Running out of tries is
    // then as likely as never, but ends in an easier class rather than a hang.
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
