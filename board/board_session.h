#pragma once

#include <QObject>
#include <QString>

#include "board/grid_text.h"
#include "board/locked_cells.h"

namespace engine {
class PuzzleEngine;
}

namespace board {

// The puzzle on the board as the player works on it: the cells' texts, which of them are
// locked, the lock switch and the pen. Every change the player makes goes to the engine at
// once, and a locked cell takes none. The session holds no widget: the board shows what
// cellChanged says and reports the player's clicks and keys back. Columns and rows are 0 to 8.
class BoardSession : public QObject {
    Q_OBJECT

public:
    // engine must outlive the session.
    explicit BoardSession(engine::PuzzleEngine& engine, QObject* parent = nullptr);

    // Empty or one digit.
    QString CellText(int column, int row) const { return cells_[row][column]; }
    // Read by the board at every paint; the reference stays valid for the session's life.
    const LockedCells& Locked() const { return locked_; }
    bool LocksOn() const { return locksOn_; }
    // "0" no pen, "1" to "9" a digit pen, "" the eraser.
    const QString& SelectedDigit() const { return selectedDigit_; }

    // Fetches the engine's grid text, keeps it as the current one, and tells whether it is
    // the empty grid.
    bool EngineGridIsEmpty();

    // Shows the engine's grid: "genera" and "file" also lock every filled cell, "soluzione"
    // leaves the locks as they are. A "0" leaves its cell as it is: callers empty the board
    // first when the new grid may hold fewer digits.
    void RefreshBoard(const QString& mode);
    // Flips the lock: on locks every cell that holds a digit now, off unlocks every cell.
    void ToggleLockSquares();
    // Empties every cell and the engine's grid and counts again. The lock switch goes off,
    // while the locked cells and the lock's check marks stay as they were until the next
    // refresh or toggle.
    void ClearBoard();
    // After the engine's grid was emptied: the locked cells go back to the engine and every
    // other cell is emptied.
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
    // The player typed a digit 1 to 9 on a cell, or asked to empty it: an unlocked cell takes
    // it, and the engine and the counter follow.
    void TypeDigit(int column, int row, int digit);
    void EraseCell(int column, int row);

signals:
    void cellChanged(int column, int row, const QString& text);
    // The lock switch flipped; the locked cells changed with it.
    void locksChanged(bool on);
    // The text of the missing-number counter: "Miss.n.: " and the count.
    void missingCountShown(const QString& text);

private:
    void SetCell(int column, int row, const QString& text);
    void WriteToEngine(int column, int row, const QString& text);
    // The player's own write: the cell, the engine and the counter, unless the cell is locked.
    void PlayerWrites(int column, int row, const QString& text);

    engine::PuzzleEngine& engine_;
    BoardCellTexts cells_;
    QString currentGridText_;
    LockedCells locked_;
    bool locksOn_ = false;
    QString selectedDigit_ = QStringLiteral("0");
};

}  // namespace board
