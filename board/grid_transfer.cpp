// Bringing the engine's grid onto the board, and locking the filled cells.

#include "app/main_window.h"
#include "app/popup_menu.h"
#include "app/tool_bar.h"
#include "board/board_grid.h"

void TFsudoku_main::RefreshBoard(const QString& mode) {
    LastEngineResult.clear();
    CurrentGridText = Engine().CallText("restituisci_stringa");
    LastEngineResult = CurrentGridText;
    ParseGridText(CurrentGridText);
    // A "0" leaves the board cell as it is: callers empty the board first when the new grid
    // may hold fewer digits.
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            if (BoardCells[row][column] != QLatin1String("0")) {
                StringGrid->SetCellText(column, row, BoardCells[row][column]);
            }
        }
    }
    if (mode != QLatin1String("soluzione")) {
        SquaresLocked = false;
        ToggleLockSquares();
    }
    UpdateMissingCount();
}

void TFsudoku_main::ParseGridText(const QString& text) {
    BoardCells = board::ParseGridText(text);
}

void TFsudoku_main::ToggleLockSquares() {
    SquaresLocked = !SquaresLocked;
    Menu->Item(QStringLiteral("Locksquares1"))->setChecked(SquaresLocked);
    ToolBar->Action(QStringLiteral("ToolButton_lock"))->setChecked(SquaresLocked);
    LockedCells.Clear();
    if (SquaresLocked) {
        for (int column = 0; column < 9; ++column) {
            for (int row = 0; row < 9; ++row) {
                if (!StringGrid->CellText(column, row).isEmpty()) {
                    LockedCells.Append(column, row);
                }
            }
        }
    }
    StringGrid->RepaintAll();
}

void TFsudoku_main::Locksquares1Click() {
    ToggleLockSquares();
}
