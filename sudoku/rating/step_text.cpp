#include "sudoku/rating/step_text.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace sudoku::rating {

namespace {

// A chain branch longer than this is told by its first and last links around an ellipsis.
constexpr std::size_t kLongBranch = 6;
constexpr std::size_t kBranchHead = 3;
constexpr std::size_t kBranchTail = 2;
// Branches told in full; the others are counted.
constexpr std::size_t kBranchesTold = 3;

std::vector<int> DigitsOf(Digits digits) {
    std::vector<int> list;
    for (int digit = 1; digit <= 9; ++digit) {
        if ((digits & DigitBit(digit)) != 0) {
            list.push_back(digit);
        }
    }
    return list;
}

std::string DigitsText(Digits digits, const char* last = " and ") {
    std::vector<std::string> parts;
    for (int digit : DigitsOf(digits)) {
        parts.push_back(std::to_string(digit));
    }
    return ListText(parts, last);
}

std::vector<int> CellsOf(const std::vector<Candidate>& candidates) {
    std::vector<int> cells;
    for (const Candidate& candidate : candidates) {
        cells.push_back(candidate.cell);
    }
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    return cells;
}

Digits DigitSet(const std::vector<Candidate>& candidates) {
    Digits digits = 0;
    for (const Candidate& candidate : candidates) {
        digits |= DigitBit(candidate.digit);
    }
    return digits;
}

Digits DigitsAt(const std::vector<Candidate>& candidates, int cell) {
    Digits digits = 0;
    for (const Candidate& candidate : candidates) {
        if (candidate.cell == cell) {
            digits |= DigitBit(candidate.digit);
        }
    }
    return digits;
}

bool InHouse(int house, int cell) {
    const auto& cells = HouseCells()[house];
    return std::find(cells.begin(), cells.end(), cell) != cells.end();
}

bool AllInHouse(int house, const std::vector<int>& cells) {
    return !cells.empty() && std::all_of(cells.begin(), cells.end(),
                                         [house](int cell) { return InHouse(house, cell); });
}

// The first house, the step's own first, that holds every one of cells; -1 when none does.
int CommonHouse(const Step& step, const std::vector<int>& cells) {
    for (int house : step.houses) {
        if (house >= 0 && house < kHouseCount && AllInHouse(house, cells)) {
            return house;
        }
    }
    for (int house = kFirstRow; house < kHouseCount; ++house) {
        if (AllInHouse(house, cells)) {
            return house;
        }
    }
    for (int house = 0; house < kFirstRow; ++house) {
        if (AllInHouse(house, cells)) {
            return house;
        }
    }
    return -1;
}

// Cells named together where they share a line: "row 3, columns 4 and 7".
std::string CellsText(const std::vector<int>& cells) {
    std::vector<std::string> parts;
    if (cells.size() > 1 && AllInHouse(RowHouse(cells[0]), cells)) {
        for (int cell : cells) {
            parts.push_back(std::to_string(cell % kSize + 1));
        }
        return "row " + std::to_string(cells[0] / kSize + 1) + ", columns " + ListText(parts);
    }
    if (cells.size() > 1 && AllInHouse(ColumnHouse(cells[0]), cells)) {
        for (int cell : cells) {
            parts.push_back(std::to_string(cell / kSize + 1));
        }
        return "column " + std::to_string(cells[0] % kSize + 1) + ", rows " + ListText(parts);
    }
    for (int cell : cells) {
        parts.push_back(CellName(cell));
    }
    return ListText(parts);
}

// The places of cells within house, as its own line counts them: "columns 4 and 7" in a row.
std::string PlacesIn(int house, const std::vector<int>& cells) {
    std::vector<std::string> parts;
    if (house >= kFirstRow && house < kFirstColumn) {
        for (int cell : cells) {
            parts.push_back(std::to_string(cell % kSize + 1));
        }
        return (cells.size() == 1 ? "column " : "columns ") + ListText(parts);
    }
    if (house >= kFirstColumn) {
        for (int cell : cells) {
            parts.push_back(std::to_string(cell / kSize + 1));
        }
        return (cells.size() == 1 ? "row " : "rows ") + ListText(parts);
    }
    return CellsText(cells);
}

// The scale's name in sentence case: "Naked Pair" gives "Naked pair", "XY-Wing" "XY-wing".
std::string Label(const Step& step, const char* fallback) {
    if (step.name.empty()) {
        return fallback;
    }
    std::string label = step.name;
    std::size_t start = 0;
    while (start < label.size()) {
        std::size_t end = label.find_first_of(" -", start);
        if (end == std::string::npos) {
            end = label.size();
        }
        const bool capitals = std::all_of(label.begin() + start, label.begin() + end, [](char c) {
            return !std::islower(static_cast<unsigned char>(c));
        });
        if (!capitals) {
            for (std::size_t i = start == 0 ? 1 : start; i < end; ++i) {
                label[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(label[i])));
            }
        }
        start = end + 1;
    }
    return label;
}

std::string Placements(const Step& step) {
    std::vector<std::string> parts;
    for (const Candidate& placed : step.placements) {
        parts.push_back(CellName(placed.cell) + " holds " + std::to_string(placed.digit));
    }
    return ListText(parts);
}

// What the eliminations say: "2 and 6 leave row 7, column 5" for one cell; "2 and 5 leave the
// rest of row 3" where they all lie in one house with the pattern and outside it; else digit by
// digit, "4 leaves row 1, column 3 and row 2, column 4".
std::string Eliminations(const Step& step) {
    if (step.eliminations.empty()) {
        return {};
    }
    const std::vector<int> removed = CellsOf(step.eliminations);
    const Digits digits = DigitSet(step.eliminations);
    const bool one = DigitsOf(digits).size() == 1;
    if (removed.size() == 1) {
        return DigitsText(digits) + (one ? " leaves " : " leave ") + CellName(removed[0]);
    }
    const int house = CommonHouse(step, removed);
    const std::vector<int> pattern = CellsOf(step.pattern);
    const bool outside = std::none_of(removed.begin(), removed.end(), [&pattern](int cell) {
        return std::binary_search(pattern.begin(), pattern.end(), cell);
    });
    if (house >= 0 && !pattern.empty() && outside && AllInHouse(house, pattern)) {
        return DigitsText(digits) + (one ? " leaves" : " leave") + " the rest of " +
               HouseName(house);
    }
    std::vector<std::string> parts;
    for (int digit : DigitsOf(digits)) {
        std::vector<int> cells;
        for (const Candidate& candidate : step.eliminations) {
            if (candidate.digit == digit) {
                cells.push_back(candidate.cell);
            }
        }
        std::sort(cells.begin(), cells.end());
        parts.push_back(std::to_string(digit) + " leaves " + CellsText(cells));
    }
    return ListText(parts);
}

// ", so ..." with the eliminations first and then the digits they leave placed.
std::string Conclusion(const Step& step) {
    const std::string removed = Eliminations(step);
    const std::string placed = Placements(step);
    if (removed.empty()) {
        return placed.empty() ? std::string() : ", so " + placed;
    }
    return ", so " + removed + (placed.empty() ? std::string() : ", and then " + placed);
}

std::string Hidden(const Step& step) {
    if (step.placements.empty()) {
        return Label(step, "Hidden single");
    }
    const Candidate placed = step.placements.front();
    int house = step.houses.empty() ? BoxHouse(placed.cell) : step.houses.front();
    if (house < 0 || house >= kHouseCount) {
        house = BoxHouse(placed.cell);
    }
    const std::string digit = std::to_string(placed.digit);
    if (step.difficulty <= 10) {
        return Label(step, "Hidden single") + ": " + CellName(placed.cell) +
               " is the last empty cell of " + HouseName(house) + ", so it holds " + digit;
    }
    return Label(step, "Hidden single") + ": in " + HouseName(house) + ", " + digit +
           " fits only in " + CellName(placed.cell);
}

std::string NakedSingle(const Step& step) {
    if (step.placements.empty()) {
        return Label(step, "Naked single");
    }
    const Candidate placed = step.placements.front();
    return Label(step, "Naked single") + ": " + CellName(placed.cell) + " can hold only " +
           std::to_string(placed.digit);
}

// A pointing (the digit of a box kept to one line) or a claiming (of a line kept to one box).
std::string Locking(const Step& step, bool pointing) {
    const std::vector<int> cells = CellsOf(step.pattern);
    const Digits digits = step.digits != 0 ? step.digits : DigitSet(step.pattern);
    std::string label = Label(step, pointing ? "Pointing" : "Claiming");
    if (cells.empty()) {
        return label + Conclusion(step);
    }
    const int box = BoxHouse(cells[0]);
    const int line =
        AllInHouse(RowHouse(cells[0]), cells) ? RowHouse(cells[0]) : ColumnHouse(cells[0]);
    const int from = pointing ? box : line;
    const int to = pointing ? line : box;
    return label + ": in " + HouseName(from) + ", " + DigitsText(digits) + " fits only in " +
           HouseName(to) + Conclusion(step);
}

std::string NakedSet(const Step& step) {
    const std::vector<int> cells = CellsOf(step.pattern);
    const Digits digits = step.digits != 0 ? step.digits : DigitSet(step.pattern);
    const int house = CommonHouse(step, cells);
    std::string where = CellsText(cells);
    if (house >= 0 && house < kFirstRow) {
        where = "in " + HouseName(house) + ", " + where;
    }
    return Label(step, "Naked subset") + ": " + where + " hold only " + DigitsText(digits) +
           Conclusion(step);
}

std::string HiddenSet(const Step& step) {
    const std::vector<int> cells = CellsOf(step.pattern);
    const Digits digits = step.digits != 0 ? step.digits : DigitSet(step.pattern);
    const int house = CommonHouse(step, cells);
    std::string text = Label(step, "Hidden subset") + ": in " +
                       (house >= 0 ? HouseName(house) : std::string("one house")) + ", " +
                       DigitsText(digits) + " fit only in " + PlacesIn(house, cells);
    const std::string placed = Placements(step);
    if (!step.eliminations.empty()) {
        text += cells.size() == 1 ? ", so that cell holds nothing else"
                                  : ", so those cells hold nothing else";
        if (!placed.empty()) {
            text += ", and then " + placed;
        }
    } else if (!placed.empty()) {
        text += ", so " + placed;
    }
    return text;
}

std::string Fish(const Step& step) {
    const std::vector<int> cells = CellsOf(step.pattern);
    const Digits digits = step.digits != 0 ? step.digits : DigitSet(step.pattern);
    std::vector<int> rows;
    std::vector<int> columns;
    for (int cell : cells) {
        rows.push_back(cell / kSize);
        columns.push_back(cell % kSize);
    }
    for (auto* lines : {&rows, &columns}) {
        std::sort(lines->begin(), lines->end());
        lines->erase(std::unique(lines->begin(), lines->end()), lines->end());
    }
    // The base lines are the ones the eliminations lie outside of.
    bool baseRows = true;
    for (const Candidate& removed : step.eliminations) {
        if (std::find(rows.begin(), rows.end(), removed.cell / kSize) != rows.end()) {
            baseRows = false;
        }
    }
    auto lines = [](const char* word, const std::vector<int>& numbers) {
        std::vector<std::string> parts;
        for (int number : numbers) {
            parts.push_back(std::to_string(number + 1));
        }
        return std::string(word) + (numbers.size() == 1 ? " " : "s ") + ListText(parts);
    };
    const std::string base = baseRows ? lines("row", rows) : lines("column", columns);
    const std::string cover = baseRows ? lines("column", columns) : lines("row", rows);
    std::string text =
        Label(step, "Fish") + ": in " + base + ", " + DigitsText(digits) + " fits only in " + cover;
    if (!step.eliminations.empty()) {
        text += ", so " + DigitsText(digits) + " leaves the rest of " + cover;
    }
    return text;
}

// The wings: a pivot whose digits, whichever it holds, leave the eliminated digit in one of
// the cells that see it.
std::string Wing(const Step& step) {
    const std::vector<int> cells = CellsOf(step.pattern);
    auto sees = [&cells](int cell) {
        return std::count_if(cells.begin(), cells.end(),
                             [cell](int other) { return other != cell && ArePeers(cell, other); });
    };
    std::vector<int> order = cells;
    std::stable_sort(order.begin(), order.end(),
                     [&sees](int a, int b) { return sees(a) > sees(b); });
    std::string text = Label(step, "Wing");
    if (order.empty()) {
        return text + Conclusion(step);
    }
    text += ": " + CellName(order[0]) + " holds " +
            DigitsText(DigitsAt(step.pattern, order[0]), " or ");
    if (order.size() > 1) {
        std::vector<std::string> wings;
        for (std::size_t i = 1; i < order.size(); ++i) {
            wings.push_back(CellName(order[i]) + " (" +
                            DigitsText(DigitsAt(step.pattern, order[i]), " or ") + ")");
        }
        text += ", and whichever it is, one of " + ListText(wings) + " holds " +
                DigitsText(DigitSet(step.eliminations), " or ");
    }
    return text + Conclusion(step);
}

std::string UniqueLoop(const Step& step) {
    const std::vector<int> cells = CellsOf(step.pattern);
    const Digits digits = step.digits != 0 ? step.digits : DigitSet(step.pattern);
    return Label(step, "Unique rectangle") + ": if " + CellsText(cells) + " held only " +
           DigitsText(digits) + ", the puzzle would have two solutions" + Conclusion(step);
}

std::string Grave(const Step& step) {
    return Label(step, "Bivalue universal grave") +
           ": without the candidates that stand out, every empty cell would hold two and the "
           "puzzle would have two solutions" +
           Conclusion(step);
}

std::string AlignedExclusion(const Step& step) {
    return Label(step, "Aligned exclusion") + ": no choice of digits for " +
           CellsText(CellsOf(step.pattern)) + " leaves a candidate in every cell they all see" +
           Conclusion(step);
}

// Turbot fish and its kin list their houses as strong link, connecting house, strong link, and
// so on: the strong links, where the digit has only two places, are every other house.
std::string StrongLinks(const Step& step) {
    std::vector<std::string> links;
    for (std::size_t i = 0; i < step.houses.size(); i += 2) {
        links.push_back(HouseName(step.houses[i]));
    }
    std::string text = Label(step, "Strong links");
    if (links.empty() || step.digits == 0) {
        return text + Conclusion(step);
    }
    const std::string digit = DigitsText(step.digits);
    return text + ": " + digit + " has only two places in " + ListText(links) +
           ", linked so that one end of the chain or the other holds " + digit + Conclusion(step);
}

std::string Assumption(const Step::Link& link) {
    return CellName(link.candidate.cell) + (link.on ? " were " : " were not ") +
           std::to_string(link.candidate.digit);
}

std::string Consequence(const Step::Link& link) {
    return CellName(link.candidate.cell) + (link.on ? " would be " : " would not be ") +
           std::to_string(link.candidate.digit);
}

std::string Branch(const std::vector<Step::Link>& links) {
    if (links.empty()) {
        return {};
    }
    std::vector<std::string> told;
    for (std::size_t i = 1; i < links.size(); ++i) {
        if (links.size() > kLongBranch && i == kBranchHead + 1) {
            told.push_back("...");
            i = links.size() - kBranchTail;
        }
        told.push_back(Consequence(links[i]));
    }
    std::string text = "if " + Assumption(links.front());
    for (const std::string& part : told) {
        text += ", " + part;
    }
    return text;
}

std::string ChainConclusion(const Step& step) {
    std::vector<std::string> parts;
    for (const Candidate& removed : step.eliminations) {
        parts.push_back(CellName(removed.cell) + " cannot be " + std::to_string(removed.digit));
    }
    for (const Candidate& placed : step.placements) {
        parts.push_back(CellName(placed.cell) + " must be " + std::to_string(placed.digit));
    }
    return ListText(parts);
}

std::string Chain(const Step& step) {
    std::string text = Label(step, "Forcing chain") + ": ";
    std::vector<std::string> branches;
    for (std::size_t i = 0; i < step.branches.size() && i < kBranchesTold; ++i) {
        branches.push_back(Branch(step.branches[i]));
    }
    if (step.branches.size() > kBranchesTold) {
        branches.push_back("in " + std::to_string(step.branches.size() - kBranchesTold) +
                           " more cases alike");
    }
    // Cell and region chains start from each digit of a cell or each place of a digit, so one
    // of them holds; the other chains follow one assumption along several branches.
    const bool cases = step.technique == Technique::MultipleForcingChain;
    if (!branches.empty()) {
        std::string joined;
        for (std::size_t i = 0; i < branches.size(); ++i) {
            if (i > 0) {
                joined += cases ? "; " : "; and ";
            }
            joined += branches[i];
        }
        text += (cases ? "whichever holds, " : "") + joined + ", so ";
    }
    return text + ChainConclusion(step);
}

}  // namespace

std::string ListText(const std::vector<std::string>& parts, const char* last) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            text += i + 1 == parts.size() ? last : ", ";
        }
        text += parts[i];
    }
    return text;
}

std::string CellName(int cell) {
    return "row " + std::to_string(cell / kSize + 1) + ", column " +
           std::to_string(cell % kSize + 1);
}

std::string HouseName(int house) {
    if (house < kFirstRow) {
        return "box " + std::to_string(house + 1);
    }
    if (house < kFirstColumn) {
        return "row " + std::to_string(house - kFirstRow + 1);
    }
    return "column " + std::to_string(house - kFirstColumn + 1);
}

std::string StepSentence(const Step& step) {
    switch (step.technique) {
        case Technique::HiddenSingle:
            return Hidden(step);
        case Technique::NakedSingle:
            return NakedSingle(step);
        case Technique::DirectPointing:
        case Technique::Pointing:
            return Locking(step, true);
        case Technique::DirectClaiming:
        case Technique::Claiming:
            return Locking(step, false);
        case Technique::NakedPair:
        case Technique::NakedTriplet:
        case Technique::NakedQuad:
            return NakedSet(step);
        case Technique::DirectHiddenPair:
        case Technique::DirectHiddenTriplet:
        case Technique::HiddenPair:
        case Technique::HiddenTriplet:
        case Technique::HiddenQuad:
            return HiddenSet(step);
        case Technique::XWing:
        case Technique::Swordfish:
        case Technique::Jellyfish:
            return Fish(step);
        case Technique::XYWing:
        case Technique::XYZWing:
        case Technique::WXYZWing:
        case Technique::VWXYZWing:
            return Wing(step);
        case Technique::TurbotFish:
        case Technique::ThreeStrongLinks:
            return StrongLinks(step);
        case Technique::UniqueLoop:
            return UniqueLoop(step);
        case Technique::BivalueUniversalGrave:
            return Grave(step);
        case Technique::AlignedPairExclusion:
        case Technique::AlignedTripletExclusion:
            return AlignedExclusion(step);
        case Technique::ForcingChainCycle:
        case Technique::NishioForcingChain:
        case Technique::MultipleForcingChain:
        case Technique::DynamicForcingChain:
        case Technique::DynamicForcingChainPlus:
        case Technique::NestedForcingChain:
            return Chain(step);
    }
    return Label(step, "Step") + Conclusion(step);
}

}  // namespace sudoku::rating
