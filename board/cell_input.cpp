// The player's input on the board: the digit and eraser pens, typing, and the write-back of
// every change to the engine.

#include "app/main_window.h"
#include "board/board_grid.h"

namespace {

// Writes a cell to the engine: an empty text clears it, anything else is written as it is.
QString WriteCell(engine::EngineLink& engine, int column, int row, const QString& text) {
    if (text.isEmpty()) {
        return engine.CallText("scrivi_cella", {row, column, 0});
    }
    return engine.CallText("scrivi_cella", {row, column, text.toStdString()});
}

}  // namespace

void TFsudoku_main::ToolButton_DigitClick(int digit) {
    const QString chosen = QString::number(digit);
    SelectedDigit = SelectedDigit == chosen ? QStringLiteral("0") : chosen;
}

void TFsudoku_main::ToolButton_cancClick() {
    SelectedDigit = SelectedDigit.isEmpty() ? QStringLiteral("0") : QString();
}

void TFsudoku_main::StringGridSelectCell(int column, int row) {
    ShowHint(column, row);
    if (LockedCells.Contains(column, row)) {
        StringGrid->SetEditingAllowed(false);
    } else {
        if (SelectedDigit != QLatin1String("0")) {
            StringGrid->SetCellText(column, row, SelectedDigit);
            LastEngineResult.clear();
            LastEngineResult = WriteCell(Engine(), column, row, SelectedDigit);
        }
        StringGrid->SetEditingAllowed(true);
    }
    UpdateMissingCount();
}

void TFsudoku_main::StringGridEditorExit(int column, int row) {
    QString text = StringGrid->CellText(column, row);
    if (text.size() > 1) {
        text.truncate(1);
        StringGrid->SetCellText(column, row, text);
    }
    LastEngineResult.clear();
    LastEngineResult = WriteCell(Engine(), column, row, text);
    UpdateMissingCount();
}
