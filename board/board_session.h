#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "board/grid_text.h"
#include "board/history.h"
#include "board/locked_cells.h"

namespace engine {
class PuzzleEngine;
}

namespace board {

// The puzzle on the board as the player works on it: the cells' digits and pencil notes, which
// cells are locked, the lock switch, the pen, and the history of the player's actions. Every
// digit the player writes goes to the engine at once, and a locked cell takes none; notes are
// the player's alone and never reach the engine. The session holds no widget: the board shows
// what cellChanged and notesChanged say and reports the player's clicks and keys back.
// Columns and rows are 0 to 8.
class BoardSession : public QObject {
    Q_OBJECT

public:
    // engine must outlive the session.
    explicit BoardSession(engine::PuzzleEngine& engine, QObject* parent = nullptr);

    // Empty or one digit.
    QString CellText(int column, int row) const { return cells_[CellIndex(column, row)].text; }
    Notes CellNotes(int column, int row) const { return cells_[CellIndex(column, row)].notes; }
    // Read by the board at every paint; the reference stays valid for the session's life.
    const LockedCells& Locked() const { return locked_; }
    bool LocksOn() const { return locksOn_; }
    // "0" no pen, "1" to "9" a digit pen, "" the eraser.
    const QString& SelectedDigit() const { return selectedDigit_; }

    // Fetches the engine's grid text, keeps it as the current one, and tells whether it is
    // the empty grid.
    bool EngineGridIsEmpty();

    // Shows the engine's grid: "genera" and "file" also lock every filled cell and start a
    // fresh history, "soluzione" leaves the locks as they are. A "0" leaves its cell as it is:
    // callers empty the board first when the new grid may hold fewer digits.
    void RefreshBoard(const QString& mode);
    // Flips the lock: on locks every cell that holds a digit now, off unlocks every cell.
    void ToggleLockSquares();
    // Empties every cell, its notes and the engine's grid, starts a fresh history and counts
    // again. The lock switch goes off, while the locked cells and the lock's check marks stay as
    // they were until the next refresh or toggle.
    void ClearBoard();
    // After the engine's grid was emptied: the locked cells go back to the engine and every
    // other cell is emptied of its digit and its notes.
    void RestoreLockedCells();
    // Asks the engine how many cells are filled and shows how many are missing.
    void UpdateMissingCount();

    // A digit pen 1 to 9: chosen, or dropped when it is the one chosen.
    void ChooseDigitPen(int digit);
    // The eraser: chosen, or dropped when chosen.
    void ChooseEraser();

    // The player clicked a cell: the pen, when one is chosen, writes into it unless it is
    // locked. The counter is asked again either way.
    void ClickCell(int column, int row);
    // A click with the other button: with a digit pen chosen, that digit's note is set or
    // cleared (see ToggleNote). The counter is asked again either way.
    void RightClickCell(int column, int row);
    // The player typed a digit 1 to 9 on a cell, or asked to empty it (its digit and notes):
    // an unlocked cell takes it, and the engine and the counter follow. A digit also clears the
    // cell's notes and drops that digit from the notes of its row, column and box.
    void TypeDigit(int column, int row, int digit);
    void EraseCell(int column, int row);
    // Sets or clears digit as a note of an empty, unlocked cell; any other cell stays as it is.
    void ToggleNote(int column, int row, int digit);

    // Runs change, which changes the board, as one action of the player that undo takes back
    // at once. The player's own writes record themselves.
    void RecordAction(const std::function<void()>& change);
    // Takes the last action back, or makes the last one taken back again; locked cells are
    // never changed. The engine's grid and the counter follow as they follow the player.
    void Undo();
    void Redo();
    // Forgets every action: undo reaches no further back than now.
    void ClearHistory() { history_.Clear(); }

signals:
    void cellChanged(int column, int row, const QString& text);
    void notesChanged(int column, int row, board::Notes notes);
    // The lock switch flipped; the locked cells changed with it.
    void locksChanged(bool on);
    // The text of the missing-number counter: "Miss.n.: " and the count.
    void missingCountShown(const QString& text);

private:
    // The one place a cell changes: what the board shows follows.
    void SetCell(int column, int row, const CellState& state);
    void WriteToEngine(int column, int row, const QString& text);
    // The player's own write of a digit or an empty cell: the cell, its notes and its peers'
    // notes, the engine and the counter, unless the cell is locked. Recorded as one action.
    void PlayerWrites(int column, int row, const QString& text);
    // Brings cells to one side of an action, skipping locked ones, with the engine following.
    void Apply(const Action& action, bool after);

    engine::PuzzleEngine& engine_;
    BoardState cells_;
    QString currentGridText_;
    LockedCells locked_;
    bool locksOn_ = false;
    QString selectedDigit_ = QStringLiteral("0");
    History history_;
    // Actions record themselves only at the outermost level.
    int recording_ = 0;
};

}  // namespace board
