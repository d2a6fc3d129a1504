#include "board/board_session.h"

#include "engine/puzzle_engine.h"
#include "toolkit/sentences.h"

namespace board {

namespace {

const QString kNoPen = QStringLiteral("0");

}  // namespace

BoardSession::BoardSession(engine::PuzzleEngine& engine, QObject* parent)
    : QObject(parent), engine_(engine) {}

bool BoardSession::EngineGridIsEmpty() {
    currentGridText_ = engine_.GridText();
    return currentGridText_ == EmptyGridText();
}

void BoardSession::RefreshBoard(const QString& mode) {
    currentGridText_ = engine_.GridText();
    const BoardCellTexts parsed = ParseGridText(currentGridText_);
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            if (parsed[row][column] != QLatin1String("0")) {
                SetCell(column, row, parsed[row][column]);
            }
        }
    }
    if (mode != QLatin1String("soluzione")) {
        locksOn_ = false;
        ToggleLockSquares();
    }
    UpdateMissingCount();
}

void BoardSession::ToggleLockSquares() {
    locksOn_ = !locksOn_;
    locked_.Clear();
    if (locksOn_) {
        for (int column = 0; column < 9; ++column) {
            for (int row = 0; row < 9; ++row) {
                if (!cells_[row][column].isEmpty()) {
                    locked_.Append(column, row);
                }
            }
        }
    }
    emit locksChanged(locksOn_);
}

void BoardSession::ClearBoard() {
    for (int column = 0; column < 9; ++column) {
        for (int row = 0; row < 9; ++row) {
            SetCell(column, row, QString());
        }
    }
    engine_.Clear();
    locksOn_ = false;
    UpdateMissingCount();
}

void BoardSession::RestoreLockedCells() {
    for (int column = 0; column < 9; ++column) {
        for (int row = 0; row < 9; ++row) {
            if (locked_.Contains(column, row)) {
                WriteToEngine(column, row, cells_[row][column]);
            } else {
                SetCell(column, row, QString());
            }
        }
    }
}

void BoardSession::UpdateMissingCount() {
    const int filled = engine_.FilledCount();
    emit missingCountShown(sentences::kMissingPanel + QString::number(81 - filled));
}

void BoardSession::ChooseDigitPen(int digit) {
    const QString chosen = QString::number(digit);
    selectedDigit_ = selectedDigit_ == chosen ? kNoPen : chosen;
}

void BoardSession::ChooseEraser() {
    selectedDigit_ = selectedDigit_.isEmpty() ? kNoPen : QString();
}

void BoardSession::ClickCell(int column, int row) {
    if (selectedDigit_ != kNoPen && !locked_.Contains(column, row)) {
        SetCell(column, row, selectedDigit_);
        WriteToEngine(column, row, selectedDigit_);
    }
    UpdateMissingCount();
}

void BoardSession::TypeDigit(int column, int row, int digit) {
    PlayerWrites(column, row, QString::number(digit));
}

void BoardSession::EraseCell(int column, int row) {
    PlayerWrites(column, row, QString());
}

void BoardSession::PlayerWrites(int column, int row, const QString& text) {
    if (locked_.Contains(column, row)) {
        return;
    }
    SetCell(column, row, text);
    WriteToEngine(column, row, text);
    UpdateMissingCount();
}

void BoardSession::SetCell(int column, int row, const QString& text) {
    cells_[row][column] = text;
    emit cellChanged(column, row, text);
}

void BoardSession::WriteToEngine(int column, int row, const QString& text) {
    // The engine's answer is not examined: the board keeps what the player wrote.
    engine_.WriteCell({.row = row, .column = column}, text);
}

}  // namespace board
