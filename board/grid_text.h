#pragma once

#include <QString>
#include <array>

#include "board/play_aids.h"

namespace board {

// The engine's text form of the whole board: nine lines, top row first, each of nine cells
// written as a digit and a blank ("0" for an empty cell) and ended by CR LF; 180 characters.
// Row r, column c stands at offset 20r + 2c.
inline constexpr int kGridTextLength = 180;

int GridTextOffset(int column, int row);

// The grid text of an empty board.
QString EmptyGridText();

// The cells of a grid text, indexed [row][column]: each the one character at its offset,
// or empty where the text is too short. The blanks and line ends between are never looked
// at and the characters are not checked.
using BoardCellTexts = std::array<std::array<QString, 9>, 9>;
BoardCellTexts ParseGridText(const QString& text);

// What assistive technology reads about a cell besides its digit: its place, counted from 1
// as a player counts, whether it is locked, its notes, bit d for the digit d, and the marks
// that concern it alone ("row 3, column 5, locked"; "row 1, column 2, notes 2 5 9"; "row 4,
// column 4, repeated, mistake"; while a step is explained "row 2, column 2, in the step, the
// step removes 4 7").
QString CellDescription(int column, int row, bool locked, unsigned notes,
                        const CellMarks& marks = {});

}  // namespace board
