#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "sudoku/rating/chain_search.h"
#include "sudoku/rating/chaining.h"
#include "sudoku/solver.h"

namespace sudoku::rating {
namespace {

struct ChainCase {
    std::string rule;
    Position position;
    std::string name;
    int difficulty = 0;
    std::string placements;    // "r1c2#3 ..." sorted
    std::string eliminations;  // likewise
};

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

// 81 cells: a placed digit, or the candidates of an empty cell in brackets.
std::optional<Position> ParsePosition(const std::string& text) {
    std::istringstream in(text);
    Position position;
    std::string cell;
    int index = 0;
    while (in >> cell) {
        if (index == kCellCount) {
            return std::nullopt;
        }
        if (cell.front() == '[') {
            for (char c : cell.substr(1, cell.size() - 2)) {
                position.candidates[index] |= DigitBit(c - '0');
            }
        } else {
            position.digits[index] = static_cast<std::uint8_t>(cell.front() - '0');
        }
        ++index;
    }
    if (index != kCellCount) {
        return std::nullopt;
    }
    return position;
}

std::vector<ChainCase> ReadCases() {
    std::ifstream in(QUILLMARK_PUZZLE_SAMPLE_DIR "/../rating/chain_steps.txt");
    EXPECT_TRUE(in.is_open());
    std::vector<ChainCase> cases;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line.front() == '#') {
            continue;
        }
        std::vector<std::string> fields;
        std::istringstream parts(line);
        std::string field;
        while (std::getline(parts, field, '|')) {
            fields.push_back(Trim(field));
        }
        fields.resize(6);
        ChainCase item;
        item.rule = fields[0];
        const auto position = ParsePosition(fields[1]);
        EXPECT_TRUE(position.has_value()) << line;
        if (!position) {
            continue;
        }
        item.position = *position;
        item.name = fields[2];
        item.difficulty = std::stoi(fields[3]);
        item.placements = fields[4];
        item.eliminations = fields[5];
        cases.push_back(std::move(item));
    }
    return cases;
}

std::string Text(std::vector<Candidate> candidates) {
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return std::make_pair(a.cell / kSize * 100 + a.cell % kSize, a.digit) <
               std::make_pair(b.cell / kSize * 100 + b.cell % kSize, b.digit);
    });
    std::string text;
    for (const Candidate& c : candidates) {
        if (!text.empty()) {
            text += ' ';
        }
        text += 'r' + std::to_string(c.cell / kSize + 1) + 'c' +
                std::to_string(c.cell % kSize + 1) + '#' + std::to_string(c.digit);
    }
    return text;
}

const std::map<std::string, ChainRule>& Rules() {
    static const std::map<std::string, ChainRule> rules = {
        {"Cycles", ChainRule::Cycles},           {"Nishio", ChainRule::Nishio},
        {"Multiple", ChainRule::Multiple},       {"Dynamic", ChainRule::Dynamic},
        {"DynamicPlus", ChainRule::DynamicPlus}, {"NestedChains", ChainRule::NestedChains},
    };
    return rules;
}

// Each rule on positions from rated puzzles: the step the scale takes there, its name and
// difficulty (which holds the chain's length as the scale counts it), and that the step is
// sound (it rules out no digit of the solution) and shows a chain from assumption to result.
TEST(ChainingTest, FindsTheScalesStepForEachRule) {
    const std::vector<ChainCase> cases = ReadCases();
    ASSERT_GE(cases.size(), 12u);
    for (const ChainCase& item : cases) {
        SCOPED_TRACE(item.rule + ": " + item.name);
        ASSERT_TRUE(Rules().count(item.rule));
        const std::optional<Step> step = FindEasiestChain(item.position, Rules().at(item.rule));
        ASSERT_TRUE(step.has_value());
        EXPECT_EQ(step->name, item.name);
        EXPECT_EQ(step->difficulty, item.difficulty);
        EXPECT_EQ(Text(step->placements), item.placements);
        EXPECT_EQ(Text(step->eliminations), item.eliminations);

        const std::optional<Grid> solution = Solve(item.position.ToGrid());
        ASSERT_TRUE(solution.has_value());
        for (const Candidate& gone : step->eliminations) {
            EXPECT_NE(solution->cells[gone.cell], gone.digit) << Text({gone});
        }
        for (const Candidate& placed : step->placements) {
            EXPECT_EQ(solution->cells[placed.cell], placed.digit) << Text({placed});
        }
        ASSERT_FALSE(step->branches.empty());
        for (const auto& branch : step->branches) {
            EXPECT_GE(branch.size(), 2u);
        }
    }
}

// The search for the easiest step skips work that cannot beat the best step so far; it must
// still return what the whole search, sorted as the scale sorts it, puts first.
TEST(ChainingTest, EasiestStepIsTheFirstOfAllStepsSorted) {
    for (const ChainCase& item : ReadCases()) {
        for (ChainRule rule :
             {ChainRule::Cycles, ChainRule::Nishio, ChainRule::Multiple, ChainRule::Dynamic}) {
            SCOPED_TRACE(item.rule + ": " + item.name);
            struct Found {
                double difficulty;
                int complexity;
                int sortKey;
                std::vector<std::uint16_t> removable;
            };
            std::vector<Found> all;
            chain::Chainer chainer(chain::ConfigOf(rule), nullptr);
            chainer.Search(item.position, false, [&all](const chain::Hint& hint) {
                all.push_back({hint.difficulty,
                               hint.complexity,
                               hint.sortKey,
                               {hint.removable.begin(), hint.removable.end()}});
            });
            std::stable_sort(all.begin(), all.end(), [](const Found& a, const Found& b) {
                return std::tie(a.difficulty, a.complexity, a.sortKey) <
                       std::tie(b.difficulty, b.complexity, b.sortKey);
            });
            const std::optional<Step> easiest = FindEasiestChain(item.position, rule);
            ASSERT_EQ(easiest.has_value(), !all.empty());
            if (!easiest) {
                continue;
            }
            EXPECT_EQ(easiest->difficulty, static_cast<int>(std::lround(all[0].difficulty * 10)));
            std::vector<Candidate> removable;
            for (std::uint16_t c : all[0].removable) {
                removable.push_back(
                    {static_cast<std::uint8_t>(c / 9), static_cast<std::uint8_t>(c % 9 + 1)});
            }
            EXPECT_EQ(Text(easiest->eliminations), Text(removable));
        }
    }
}

}  // namespace
}  // namespace sudoku::rating
