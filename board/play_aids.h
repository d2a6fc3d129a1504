#pragma once

#include <QString>
#include <array>
#include <optional>

#include "board/history.h"
#include "board/locked_cells.h"
#include "board/step_explanation.h"

namespace board {

// The aids a player may switch on. All start off, so that the board looks as designed until
// the player asks for more.
struct PlayAids {
    // The selected cell's row, column and box are shaded.
    bool highlightHouses = false;
    // Every cell holding the selected cell's digit is marked, and so is that digit among notes.
    bool highlightSameDigits = false;
    // A digit the player wrote that differs from the puzzle's one solution is marked.
    bool markMistakes = false;

    bool operator==(const PlayAids&) const = default;
};

// What a cell shows beyond its digit and notes.
struct CellMarks {
    // In the selected cell's row, column or box; never the selected cell itself, which so
    // stands out among its shaded houses.
    bool shaded = false;
    // Holds the selected cell's digit (the selected cell too).
    bool sameDigit = false;
    // The selected digit's bit among the cell's notes, 0 when it has no such note.
    Notes sameDigitNote = 0;
    // The digit repeats in its row, column or box.
    bool conflict = false;
    // A digit the player wrote that is not the solution's.
    bool mistake = false;
    // While a step is explained: the cell is part of its pattern, or the step changes it, and
    // the candidates it rules out here (bit d for the digit d, whether noted or not).
    bool stepPattern = false;
    bool stepChange = false;
    Notes stepRemoves = 0;

    bool operator==(const CellMarks&) const = default;
};

// For cell (column, row) at index row * 9 + column.
using BoardMarks = std::array<CellMarks, 81>;

// Everything the marks are made from.
struct MarkSources {
    const BoardState& cells;
    const LockedCells& locked;
    // The selected cell's index; nothing before the player has chosen one.
    std::optional<int> selected;
    PlayAids aids;
    // Whether repeated digits are marked (while hints are on).
    bool conflictsShown = false;
    // The puzzle's one solution as 81 digits, or empty when the puzzle has none or several or
    // its solution must stay unknown.
    QString solution;
    // The step explained now, whose cells are marked; none when nothing is explained.
    const StepExplanation* explanation = nullptr;
};

// The marks of every cell. Locked cells are never mistakes: they are the puzzle. The digits an
// explanation finds wrong are mistakes whether Mark Mistakes is on or not.
BoardMarks FindMarks(const MarkSources& sources);

}  // namespace board
