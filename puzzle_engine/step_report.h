#pragma once

#include <string>
#include <variant>

#include "sudoku/rating/rater.h"

namespace puzzle_engine {

// A rating as valuta_puzzle gives it: the difficulty with one decimal and the hardest
// technique's name, split by "|" ("4.2|XY-Wing"); "?|" when no technique of the scale gets
// through; "" when the grid is no puzzle with exactly one solution.
std::string RatingText(const std::variant<sudoku::rating::Rating, sudoku::rating::Unrated>& rated);

// The next step for a board, as spiega_passo gives it: lines "key=value" ended by "\n", the
// keys in this order, each present only when it has a value.
//   kind        step | mistake | solved | stuck | nopuzzle
//   text        one sentence for the player, ended by a full stop
//   technique   the scale's name of the step's technique (kind step)
//   difficulty  the step's difficulty with one decimal (kind step)
//   pattern     the cells of the step's pattern
//   changed     the cells the step changes
//   removes     the candidates it rules out
//   places      the digits it places
//   mistakes    the cells whose digit is not the solution's (kind mistake)
// Cells are 0 to 80 (row * 9 + column), blank-separated; candidates are "cell:digit".
//
// puzzle is the locked givens, board every digit on the board; both 81 characters, "0" or
// "." for an empty cell. A given the board lacks or contradicts counts as on the board. The
// step is the easiest one from the board's digits alone, less the candidates in ruledOut
// ("cell:digit" blank-separated, from steps taken before; any that would rule out the
// solution's digit are ignored). A digit that is not the solution's comes back as kind
// mistake and no step: a step made from it could lead anywhere, so it is put right first.
// Nothing ("") when a text is not 81 such characters.
std::string ExplainStep(const std::string& puzzle, const std::string& board,
                        const std::string& ruledOut);

}  // namespace puzzle_engine
