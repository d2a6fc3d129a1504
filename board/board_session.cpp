#include "board/board_session.h"

#include "engine/puzzle_engine.h"
#include "toolkit/sentences.h"

namespace board {

namespace {

const QString kNoPen = QStringLiteral("0");

Notes NoteBit(int digit) {
    return static_cast<Notes>(1u << digit);
}

bool ArePeers(int column, int row, int otherColumn, int otherRow) {
    return column == otherColumn || row == otherRow ||
           (column / 3 == otherColumn / 3 && row / 3 == otherRow / 3);
}

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
                SetCell(column, row, {parsed[row][column], 0});
            }
        }
    }
    if (mode != QLatin1String("soluzione")) {
        locksOn_ = false;
        ToggleLockSquares();
        history_.Clear();
    }
    UpdateMissingCount();
}

void BoardSession::ToggleLockSquares() {
    locksOn_ = !locksOn_;
    locked_.Clear();
    if (locksOn_) {
        for (int column = 0; column < 9; ++column) {
            for (int row = 0; row < 9; ++row) {
                if (!CellText(column, row).isEmpty()) {
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
            SetCell(column, row, {});
        }
    }
    engine_.Clear();
    locksOn_ = false;
    history_.Clear();
    UpdateMissingCount();
}

void BoardSession::RestoreLockedCells() {
    for (int column = 0; column < 9; ++column) {
        for (int row = 0; row < 9; ++row) {
            if (locked_.Contains(column, row)) {
                WriteToEngine(column, row, CellText(column, row));
            } else {
                SetCell(column, row, {});
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
        PlayerWrites(column, row, selectedDigit_);
    }
    UpdateMissingCount();
}

void BoardSession::RightClickCell(int column, int row) {
    if (selectedDigit_ != kNoPen && !selectedDigit_.isEmpty()) {
        ToggleNote(column, row, selectedDigit_.toInt());
    }
    UpdateMissingCount();
}

void BoardSession::TypeDigit(int column, int row, int digit) {
    if (!locked_.Contains(column, row)) {
        PlayerWrites(column, row, QString::number(digit));
        UpdateMissingCount();
    }
}

void BoardSession::EraseCell(int column, int row) {
    if (!locked_.Contains(column, row)) {
        PlayerWrites(column, row, QString());
        UpdateMissingCount();
    }
}

void BoardSession::ToggleNote(int column, int row, int digit) {
    const CellState& cell = cells_[CellIndex(column, row)];
    if (locked_.Contains(column, row) || !cell.text.isEmpty()) {
        return;
    }
    RecordAction([&] { SetCell(column, row, {QString(), Notes(cell.notes ^ NoteBit(digit))}); });
}

void BoardSession::PlayerWrites(int column, int row, const QString& text) {
    RecordAction([&] {
        SetCell(column, row, {text, 0});
        if (!text.isEmpty()) {
            const Notes written = NoteBit(text.toInt());
            for (int other = 0; other < 81; ++other) {
                const int otherColumn = other % 9;
                const int otherRow = other / 9;
                if (ArePeers(column, row, otherColumn, otherRow) &&
                    (cells_[other].notes & written) != 0) {
                    SetCell(otherColumn, otherRow,
                            {cells_[other].text, Notes(cells_[other].notes & ~written)});
                }
            }
        }
    });
    WriteToEngine(column, row, text);
}

void BoardSession::RecordAction(const std::function<void()>& change) {
    const BoardState before = cells_;
    ++recording_;
    change();
    --recording_;
    if (recording_ == 0) {
        history_.Record(Difference(before, cells_));
    }
}

void BoardSession::Undo() {
    if (const std::optional<Action> action = history_.Undo()) {
        Apply(*action, false);
    }
}

void BoardSession::Redo() {
    if (const std::optional<Action> action = history_.Redo()) {
        Apply(*action, true);
    }
}

void BoardSession::Apply(const Action& action, bool after) {
    for (const CellChange& change : action) {
        const int column = change.index % 9;
        const int row = change.index / 9;
        if (locked_.Contains(column, row)) {
            continue;
        }
        const CellState& target = after ? change.after : change.before;
        const bool digitChanges = target.text != cells_[change.index].text;
        SetCell(column, row, target);
        if (digitChanges) {
            WriteToEngine(column, row, target.text);
        }
    }
    UpdateMissingCount();
}

void BoardSession::SetCell(int column, int row, const CellState& state) {
    CellState& cell = cells_[CellIndex(column, row)];
    const bool notesChange = cell.notes != state.notes;
    cell = state;
    emit cellChanged(column, row, state.text);
    if (notesChange) {
        emit notesChanged(column, row, state.notes);
    }
}

void BoardSession::WriteToEngine(int column, int row, const QString& text) {
    // The engine's answer is not examined: the board keeps what the player wrote.
    engine_.WriteCell({.row = row, .column = column}, text);
}

}  // namespace board
