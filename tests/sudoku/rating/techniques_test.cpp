#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "sudoku/rating/basic_techniques.h"
#include "sudoku/rating/rater.h"

namespace sudoku::rating {
namespace {

int Cell(int row, int column) {
    return row * kSize + column;
}

// A grid with no digit placed: every candidate open, so a case holds only the pattern it
// carves out.
Position Open() {
    return Position::FromGrid(Grid{});
}

// Leaves digit in house only in the cells listed.
void KeepOnly(Position& position, int house, int digit, std::initializer_list<int> cells) {
    for (std::uint8_t cell : HouseCells()[house]) {
        if (std::find(cells.begin(), cells.end(), cell) == cells.end()) {
            position.Remove(cell, digit);
        }
    }
}

void SetCandidates(Position& position, int cell, std::initializer_list<int> digits) {
    position.candidates[cell] = 0;
    for (int digit : digits) {
        position.candidates[cell] |= DigitBit(digit);
    }
}

std::string Text(const std::vector<Candidate>& candidates) {
    std::vector<std::string> items;
    for (const Candidate& c : candidates) {
        const char item[] = {'r', static_cast<char>('1' + c.cell / kSize),
                             'c', static_cast<char>('1' + c.cell % kSize),
                             '#', static_cast<char>('0' + c.digit),
                             '\0'};
        items.emplace_back(item);
    }
    std::sort(items.begin(), items.end());
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty()) {
            text += ' ';
        }
        text += item;
    }
    return text;
}

using Finder = std::function<void(const Position&, const StepSink&)>;

std::optional<Step> FirstStep(const Finder& finder, const Position& position) {
    std::optional<Step> first;
    finder(position, [&first](Step&& step) {
        first = std::move(step);
        return false;
    });
    return first;
}

struct TechniqueCase {
    const char* label;
    std::function<Position()> make;
    Finder finder;
    const char* name;
    int difficulty;
    const char* placements;    // as Text() writes them
    const char* eliminations;  // idem
};

TEST(Techniques, EachFinderReportsItsPatternFirstWithTheScalesNameAndDifficulty) {
    const std::vector<TechniqueCase> cases = {
        {"last empty cell of a row",
         [] {
             Grid grid;
             for (int column = 0; column < 8; ++column) {
                 grid.Set(0, column, static_cast<std::uint8_t>(column + 1));
             }
             return Position::FromGrid(grid);
         },
         FindHiddenSingles, "Hidden Single", 10, "r1c9#9", ""},
        {"hidden single in a box",
         [] {
             Position p = Open();
             KeepOnly(p, 4, 5, {Cell(4, 4)});
             return p;
         },
         FindHiddenSingles, "Hidden Single", 12, "r5c5#5", ""},
        {"hidden single in a row",
         [] {
             Position p = Open();
             KeepOnly(p, kFirstRow + 4, 3, {Cell(4, 2)});
             return p;
         },
         FindHiddenSingles, "Hidden Single", 15, "r5c3#3", ""},
        {"naked single",
         [] {
             Position p = Open();
             SetCandidates(p, Cell(4, 4), {7});
             return p;
         },
         FindNakedSingles, "Naked Single", 23, "r5c5#7", ""},
        {"direct pointing",
         [] {
             Position p = Open();
             KeepOnly(p, 0, 4, {Cell(0, 0), Cell(0, 1), Cell(0, 2)});
             KeepOnly(p, 1, 4, {Cell(0, 3), Cell(1, 4)});
             return p;
         },
         [](const Position& p, const StepSink& s) { FindLocking(p, true, s); }, "Direct Pointing",
         17, "r2c5#4", ""},
        {"pointing",
         [] {
             Position p = Open();
             KeepOnly(p, 0, 4, {Cell(0, 0), Cell(0, 1), Cell(0, 2)});
             return p;
         },
         [](const Position& p, const StepSink& s) { FindLocking(p, false, s); }, "Pointing", 26, "",
         "r1c4#4 r1c5#4 r1c6#4 r1c7#4 r1c8#4 r1c9#4"},
        {"claiming",
         [] {
             Position p = Open();
             KeepOnly(p, kFirstRow + 8, 6, {Cell(8, 6), Cell(8, 7), Cell(8, 8)});
             return p;
         },
         [](const Position& p, const StepSink& s) { FindLocking(p, false, s); }, "Claiming", 28, "",
         "r7c7#6 r7c8#6 r7c9#6 r8c7#6 r8c8#6 r8c9#6"},
        {"direct hidden pair",
         [] {
             Position p = Open();
             KeepOnly(p, kFirstRow + 4, 8, {Cell(4, 0), Cell(4, 1)});
             KeepOnly(p, kFirstRow + 4, 9, {Cell(4, 0), Cell(4, 1)});
             KeepOnly(p, kFirstRow + 4, 7, {Cell(4, 0), Cell(4, 1), Cell(4, 2)});
             return p;
         },
         [](const Position& p, const StepSink& s) { FindHiddenSets(p, 2, true, s); },
         "Direct Hidden Pair", 20, "r5c3#7", ""},
        {"hidden pair",
         [] {
             Position p = Open();
             KeepOnly(p, kFirstRow + 4, 8, {Cell(4, 0), Cell(4, 1)});
             KeepOnly(p, kFirstRow + 4, 9, {Cell(4, 0), Cell(4, 1)});
             SetCandidates(p, Cell(4, 0), {1, 8, 9});
             SetCandidates(p, Cell(4, 1), {8, 9});
             return p;
         },
         [](const Position& p, const StepSink& s) { FindHiddenSets(p, 2, false, s); },
         "Hidden Pair", 34, "", "r5c1#1"},
        {"naked pair in a box before its row",
         [] {
             Position p = Open();
             SetCandidates(p, Cell(0, 0), {1, 2});
             SetCandidates(p, Cell(0, 1), {1, 2});
             for (int cell :
                  {Cell(1, 0), Cell(1, 1), Cell(1, 2), Cell(2, 0), Cell(2, 1), Cell(2, 2)}) {
                 p.Remove(cell, 1);
                 p.Remove(cell, 2);
             }
             return p;
         },
         [](const Position& p, const StepSink& s) { FindNakedSets(p, 2, s); }, "Naked Pair", 30, "",
         "r1c3#1 r1c3#2"},
        {"naked triplet",
         [] {
             Position p = Open();
             SetCandidates(p, Cell(4, 0), {1, 2});
             SetCandidates(p, Cell(4, 4), {2, 3});
             SetCandidates(p, Cell(4, 8), {1, 3});
             for (int column : {1, 2, 3, 5, 6, 7}) {
                 p.Remove(Cell(4, column), 1);
                 p.Remove(Cell(4, column), 2);
             }
             return p;
         },
         [](const Position& p, const StepSink& s) { FindNakedSets(p, 3, s); }, "Naked Triplet", 36,
         "", "r5c2#3 r5c3#3 r5c4#3 r5c6#3 r5c7#3 r5c8#3"},
        {"x-wing on columns",
         [] {
             Position p = Open();
             KeepOnly(p, kFirstColumn + 1, 7, {Cell(2, 1), Cell(6, 1)});
             KeepOnly(p, kFirstColumn + 5, 7, {Cell(2, 5), Cell(6, 5)});
             for (int column : {0, 2, 3, 4, 6, 7}) {
                 p.Remove(Cell(2, column), 7);
             }
             p.Remove(Cell(6, 0), 7);
             return p;
         },
         [](const Position& p, const StepSink& s) { FindFish(p, 2, s); }, "X-Wing", 32, "",
         "r3c9#7 r7c3#7 r7c4#7 r7c5#7 r7c7#7 r7c8#7 r7c9#7"},
        {"swordfish on rows",
         [] {
             Position p = Open();
             KeepOnly(p, kFirstRow + 0, 2, {Cell(0, 1), Cell(0, 4)});
             KeepOnly(p, kFirstRow + 3, 2, {Cell(3, 4), Cell(3, 7)});
             KeepOnly(p, kFirstRow + 6, 2, {Cell(6, 1), Cell(6, 7)});
             p.Remove(Cell(8, 4), 2);
             p.Remove(Cell(8, 7), 2);
             return p;
         },
         [](const Position& p, const StepSink& s) { FindFish(p, 3, s); }, "Swordfish", 38, "",
         "r2c2#2 r2c5#2 r2c8#2 r3c2#2 r3c5#2 r3c8#2 r5c2#2 r5c5#2 r5c8#2 r6c2#2 r6c5#2 r6c8#2 "
         "r8c2#2 r8c5#2 r8c8#2 r9c2#2"},
        {"skyscraper",
         [] {
             Position p = Open();
             KeepOnly(p, kFirstRow + 0, 5, {Cell(0, 1), Cell(0, 6)});
             KeepOnly(p, kFirstRow + 4, 5, {Cell(4, 1), Cell(4, 8)});
             return p;
         },
         FindTurbotFish, "Skyscraper", 40, "", "r2c9#5 r3c9#5 r4c7#5 r6c7#5"},
        {"skyscraper of three strong links",
         [] {
             Position p = Open();
             KeepOnly(p, kFirstRow + 0, 5, {Cell(0, 1), Cell(0, 4)});
             KeepOnly(p, kFirstRow + 3, 5, {Cell(3, 4), Cell(3, 7)});
             KeepOnly(p, kFirstRow + 6, 5, {Cell(6, 2), Cell(6, 7)});
             return p;
         },
         FindThreeStrongLinks, "Skyscraper (with 3 Strong links) 111", 54, "",
         "r2c3#5 r3c3#5 r8c2#5 r9c2#5"},
        {"wxyz-wing",
         [] {
             Position p = Open();
             SetCandidates(p, Cell(0, 0), {1, 2});
             SetCandidates(p, Cell(0, 1), {1, 3});
             SetCandidates(p, Cell(0, 2), {2, 3, 4});
             SetCandidates(p, Cell(4, 2), {1, 4});
             return p;
         },
         FindWXYZWings, "WXYZ-Wing 137", 56, "", "r2c3#1 r3c3#1"},
        {"xy-wing",
         [] {
             Position p = Open();
             SetCandidates(p, Cell(0, 0), {1, 2});
             SetCandidates(p, Cell(0, 4), {1, 3});
             SetCandidates(p, Cell(4, 0), {2, 3});
             return p;
         },
         [](const Position& p, const StepSink& s) { FindXYWings(p, false, s); }, "XY-Wing", 42, "",
         "r5c5#3"},
        {"xyz-wing",
         [] {
             Position p = Open();
             SetCandidates(p, Cell(0, 0), {1, 2, 3});
             SetCandidates(p, Cell(0, 4), {1, 3});
             SetCandidates(p, Cell(1, 1), {2, 3});
             return p;
         },
         [](const Position& p, const StepSink& s) { FindXYWings(p, true, s); }, "XYZ-Wing", 44, "",
         "r1c2#3 r1c3#3"},
        {"unique rectangle type 1",
         [] {
             Position p = Open();
             SetCandidates(p, Cell(0, 0), {1, 2});
             SetCandidates(p, Cell(0, 3), {1, 2});
             SetCandidates(p, Cell(1, 0), {1, 2});
             SetCandidates(p, Cell(1, 3), {1, 2, 5});
             return p;
         },
         FindUniqueLoops, "Unique Rectangle type 1", 45, "", "r2c4#1 r2c4#2"},
        {"unique rectangle type 4",
         [] {
             Position p = Open();
             SetCandidates(p, Cell(0, 0), {1, 2});
             SetCandidates(p, Cell(0, 3), {1, 2});
             SetCandidates(p, Cell(1, 0), {1, 2, 5});
             SetCandidates(p, Cell(1, 3), {1, 2, 6});
             KeepOnly(p, kFirstRow + 1, 1, {Cell(1, 0), Cell(1, 3)});
             return p;
         },
         FindUniqueLoops, "Unique Rectangle type 4", 45, "", "r2c1#2 r2c4#2"},
    };
    for (const TechniqueCase& c : cases) {
        SCOPED_TRACE(c.label);
        const std::optional<Step> step = FirstStep(c.finder, c.make());
        ASSERT_TRUE(step.has_value());
        EXPECT_EQ(step->name, c.name);
        EXPECT_EQ(step->difficulty, c.difficulty);
        EXPECT_EQ(Text(step->placements), c.placements);
        EXPECT_EQ(Text(step->eliminations), c.eliminations);
    }
}

TEST(Techniques, FindersReportNothingWhereNoPatternRemovesACandidate) {
    const Position open = Open();
    const std::vector<Finder> finders = {
        FindHiddenSingles,
        FindNakedSingles,
        [](const Position& p, const StepSink& s) { FindLocking(p, true, s); },
        [](const Position& p, const StepSink& s) { FindLocking(p, false, s); },
        [](const Position& p, const StepSink& s) { FindHiddenSets(p, 2, false, s); },
        [](const Position& p, const StepSink& s) { FindNakedSets(p, 4, s); },
        [](const Position& p, const StepSink& s) { FindFish(p, 4, s); },
        FindTurbotFish,
        FindThreeStrongLinks,
        FindWXYZWings,
        FindVWXYZWings,
        [](const Position& p, const StepSink& s) { FindXYWings(p, false, s); },
        FindUniqueLoops,
        FindBivalueUniversalGrave,
        [](const Position& p, const StepSink& s) { FindAlignedExclusion(p, 2, s); },
    };
    for (size_t i = 0; i < finders.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(FirstStep(finders[i], open).has_value());
    }
}

TEST(Rater, TakesTheEasiestTechniqueFirstAndTellsWhyAGridHasNoRating) {
    Position both = Open();
    SetCandidates(both, Cell(4, 4), {7});
    KeepOnly(both, kFirstRow + 2, 3, {Cell(2, 2)});
    const std::optional<Step> step = NextStep(both);
    ASSERT_TRUE(step.has_value());
    EXPECT_EQ(step->technique, Technique::HiddenSingle);

    Grid twice;
    twice.Set(0, 0, 1);
    twice.Set(0, 5, 1);
    EXPECT_EQ(std::get<Unrated>(RatePuzzle(twice)), Unrated::BrokenRules);
    EXPECT_EQ(std::get<Unrated>(RatePuzzle(Grid{})), Unrated::SeveralSolutions);
    Grid stuck;
    for (int column = 0; column < 8; ++column) {
        stuck.Set(0, column, static_cast<std::uint8_t>(column + 1));
    }
    stuck.Set(1, 8, 9);
    EXPECT_EQ(std::get<Unrated>(RatePuzzle(stuck)), Unrated::NoSolution);
    EXPECT_EQ(DifficultyText(23), "2.3");
    EXPECT_EQ(DifficultyText(100), "10.0");
}

}  // namespace
}  // namespace sudoku::rating
