// Emptying the player's entries, and judging the grid when the player asks.

#include "app/main_window.h"
#include "board/board_grid.h"

void TFsudoku_main::RestoreLockedCells() {
    for (int column = 0; column < 9; ++column) {
        for (int row = 0; row < 9; ++row) {
            if (LockedCells.Contains(column, row)) {
                LastEngineResult.clear();
                LastEngineResult = Engine().CallText(
                    "scrivi_cella", {row, column, StringGrid->CellText(column, row).toStdString()});
            } else {
                StringGrid->SetCellText(column, row, QString());
            }
        }
    }
}

void TFsudoku_main::EmptyGrid1Click() {
    if (Dialogs().Confirm(QStringLiteral("The unlocked cells will be clear, confirm?"))) {
        Engine().CallText("azzera");
        RestoreLockedCells();
    }
    UpdateMissingCount();
}

void TFsudoku_main::ConfirmGrid1Click() {
    CheckGrid();
}

void TFsudoku_main::CheckGrid() {
    const int missing = 81 - EngineNumber("valori_soluzione");
    if (missing != 0) {
        if (EngineNumber("test_risolvibile") == 1) {
            Dialogs().ShowMessage(app::BoxKind::Information,
                                  QStringLiteral("The grid have a solution."));
        } else {
            Dialogs().ShowMessage(app::BoxKind::Warning,
                                  QStringLiteral("The grid doesn't have a solution!"));
        }
        return;
    }
    if (Engine().CallText("verifica_soluzione_corrente") == QLatin1String("0")) {
        Dialogs().ShowMessage(app::BoxKind::Error, QStringLiteral("The solution is incorrect!"));
        return;
    }
    if (Engine().CallText("verifica_soluzione_corrente") != QLatin1String("1")) {
        return;
    }
    ControlStopwatch(QStringLiteral("stop"));
    Dialogs().ShowMessage(app::BoxKind::Information, QStringLiteral("You have solved the grid!"));
    // Leaving the program while the box was open may have given the game up already.
    if (GameMode) {
        ReportOnlineResult();
    }
}
