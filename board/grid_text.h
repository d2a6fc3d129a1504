#pragma once

#include <QString>

namespace board {

// The engine's text form of the whole board: nine lines, top row first, each of nine cells
// written as a digit and a blank ("0" for an empty cell) and ended by CR LF; 180 characters.
// Row r, column c stands at offset 20r + 2c.
inline constexpr int kGridTextLength = 180;

int GridTextOffset(int column, int row);

// The grid text of an empty board.
QString EmptyGridText();

}  // namespace board
