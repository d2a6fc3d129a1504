// A new puzzle at the current level, and emptying the board before new content.

#include <QCoreApplication>
#include <stdexcept>

#include "app/main_window.h"
#include "board/board_grid.h"
#include "game/levels.h"

void TFsudoku_main::Puzzle1Click() {
    LastEngineResult.clear();
    CurrentGridText = Engine().CallText("restituisci_stringa");
    LastEngineResult = CurrentGridText;
    const std::optional<int> levelNumber = game::LevelNumber(Level);
    if (!levelNumber) {
        throw std::runtime_error("Unknown level: " + Level.toStdString());
    }
    if (CurrentGridText != EmptyGridText &&
        !Dialogs().Confirm(QStringLiteral("Do you want clear the grid and create a new puzzle?"))) {
        return;
    }
    if (GameMode) {
        ForfeitOnlineGame();
    }
    // Shown and painted before the engine blocks the window.
    Splash_Panel->setText(QStringLiteral("Generating, please wait..."));
    Splash_Panel->show();
    QCoreApplication::processEvents();

    ClearBoard();
    LastEngineResult.clear();
    LastEngineResult = Engine().CallText("genera", {*levelNumber});
    if (LastEngineResult.isEmpty()) {
        RefreshBoard(QStringLiteral("genera"));
        Splash_Panel->hide();
        ControlStopwatch(QStringLiteral("start"));
    } else {
        Splash_Panel->hide();
        ShowEngineError(LastEngineResult, QString());
    }
}

void TFsudoku_main::ClearBoard() {
    for (int column = 0; column < 9; ++column) {
        for (int row = 0; row < 9; ++row) {
            StringGrid->SetCellText(column, row, QString());
        }
    }
    Engine().CallText("azzera");
    SquaresLocked = false;
    UpdateMissingCount();
}
