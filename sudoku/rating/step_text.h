#pragma once

#include <string>
#include <vector>

#include "sudoku/rating/position.h"
#include "sudoku/rating/step.h"

namespace sudoku::rating {

// Parts as a list in a sentence: "a", "a and b", "a, b and c" (last joins the final two).
std::string ListText(const std::vector<std::string>& parts, const char* last = " and ");
// A cell as a player names it, rows and columns counted from 1: cell 0 is "row 1, column 1".
std::string CellName(int cell);
// A house (0 to 26, in HouseCells' order) as a player names it: "box 4", "row 3", "column 7".
std::string HouseName(int house);

// One sentence, without a closing full stop, that a player can follow on the board: what the
// step's pattern is and what follows from it, in words of the step's technique family
// ("Hidden single: in box 4, 7 fits only in row 5, column 2"). A chain is told from its first
// branches, each cut short in the middle when long, so the sentence stays readable.
std::string StepSentence(const Step& step);

}  // namespace sudoku::rating
