#pragma once

#include <QString>
#include <optional>

#include "board/history.h"
#include "board/locked_cells.h"
#include "board/play_aids.h"

namespace board {

// Everything the board shows, in one place: the cells' digits and notes, the locked cells,
// the selected cell, the aids switched on, the solution the aids may use, whether repeated
// digits are marked, and whether the game is paused. The board widget paints from it and
// reads it out to assistive technology; in the game only the board session writes it.
// Columns and rows are 0 to 8.
class BoardView {
public:
    const CellState& Cell(int column, int row) const { return cells_[CellIndex(column, row)]; }
    const BoardState& Cells() const { return cells_; }
    const LockedCells& Locked() const { return locked_; }
    LockedCells& Locked() { return locked_; }
    // The index of the selected cell; nothing before the player has chosen one.
    std::optional<int> Selected() const { return selected_; }
    const PlayAids& Aids() const { return aids_; }
    // 81 digits, or empty when no solution is known.
    const QString& Solution() const { return solution_; }
    // While paused the board shows no digits, no notes and no marks.
    bool Paused() const { return paused_; }
    // The step explained now; Kind::None while none is.
    const StepExplanation& Explanation() const { return explanation_; }

    // The marks every cell shows now; none while paused.
    BoardMarks Marks() const;

    void SetCell(int column, int row, const CellState& state) {
        cells_[CellIndex(column, row)] = state;
    }
    void Select(int column, int row) { selected_ = CellIndex(column, row); }
    void SetAids(const PlayAids& aids) { aids_ = aids; }
    void ShowConflicts(bool shown) { conflictsShown_ = shown; }
    void SetSolution(const QString& solution) { solution_ = solution; }
    void SetPaused(bool paused) { paused_ = paused; }
    void SetExplanation(const StepExplanation& explanation) { explanation_ = explanation; }

private:
    BoardState cells_;
    LockedCells locked_;
    std::optional<int> selected_;
    PlayAids aids_;
    bool conflictsShown_ = false;
    QString solution_;
    bool paused_ = false;
    StepExplanation explanation_;
};

}  // namespace board
