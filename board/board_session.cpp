#include "board/board_session.h"

#include <stdexcept>

#include "board/conflicts.h"
#include "board/hint_text.h"
#include "engine/puzzle_engine.h"

namespace board {

namespace {

const QString kNoPen = QStringLiteral("0");
// How often the engine is asked again while it rates a puzzle.
constexpr int kRatingPollMs = 200;

}  // namespace

BoardSession::BoardSession(engine::PuzzleEngine& engine, QObject* parent)
    : QObject(parent), engine_(engine) {
    ratingPoll_.setSingleShot(true);
    ratingPoll_.setInterval(kRatingPollMs);
    connect(&ratingPoll_, &QTimer::timeout, this, &BoardSession::AskRating);
}

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
    view_.Locked().Clear();
    if (locksOn_) {
        for (int column = 0; column < 9; ++column) {
            for (int row = 0; row < 9; ++row) {
                if (!CellText(column, row).isEmpty()) {
                    view_.Locked().Append(column, row);
                }
            }
        }
    }
    UpdateSolution();
    PuzzleChanged();
    emit locksChanged(locksOn_);
    emit viewChanged();
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
    // The locked cells stay, but they are no longer the puzzle of an empty board.
    view_.SetSolution(QString());
    PuzzleChanged();
    emit viewChanged();
    UpdateMissingCount();
}

void BoardSession::RestoreLockedCells() {
    for (int column = 0; column < 9; ++column) {
        for (int row = 0; row < 9; ++row) {
            if (view_.Locked().Contains(column, row)) {
                WriteToEngine(column, row, CellText(column, row));
            } else {
                SetCell(column, row, {});
            }
        }
    }
}

void BoardSession::UpdateMissingCount() {
    const int filled = engine_.FilledCount();
    emit missingCountChanged(81 - filled);
}

void BoardSession::ChooseDigitPen(int digit) {
    const QString chosen = QString::number(digit);
    selectedDigit_ = selectedDigit_ == chosen ? kNoPen : chosen;
}

void BoardSession::ChooseEraser() {
    selectedDigit_ = selectedDigit_.isEmpty() ? kNoPen : QString();
}

void BoardSession::ClickCell(int column, int row) {
    if (view_.Paused()) {
        return;
    }
    if (selectedDigit_ != kNoPen && !view_.Locked().Contains(column, row)) {
        PlayerWrites(column, row, selectedDigit_);
    }
    UpdateMissingCount();
}

void BoardSession::RightClickCell(int column, int row) {
    if (view_.Paused()) {
        return;
    }
    if (selectedDigit_ != kNoPen && !selectedDigit_.isEmpty()) {
        ToggleNote(column, row, selectedDigit_.toInt());
    }
    UpdateMissingCount();
}

void BoardSession::TypeDigit(int column, int row, int digit) {
    if (view_.Paused()) {
        return;
    }
    if (!view_.Locked().Contains(column, row)) {
        PlayerWrites(column, row, QString::number(digit));
        UpdateMissingCount();
    }
}

void BoardSession::EraseCell(int column, int row) {
    if (view_.Paused()) {
        return;
    }
    if (!view_.Locked().Contains(column, row)) {
        PlayerWrites(column, row, QString());
        UpdateMissingCount();
    }
}

void BoardSession::ToggleNote(int column, int row, int digit) {
    if (view_.Paused()) {
        return;
    }
    const CellState& cell = view_.Cells()[CellIndex(column, row)];
    if (view_.Locked().Contains(column, row) || !cell.text.isEmpty()) {
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
                    (view_.Cells()[other].notes & written) != 0) {
                    SetCell(
                        otherColumn, otherRow,
                        {view_.Cells()[other].text, Notes(view_.Cells()[other].notes & ~written)});
                }
            }
        }
    });
    WriteToEngine(column, row, text);
}

void BoardSession::RecordAction(const std::function<void()>& change) {
    const BoardState before = view_.Cells();
    ++recording_;
    change();
    --recording_;
    if (recording_ == 0) {
        history_.Record(Difference(before, view_.Cells()));
    }
}

void BoardSession::Undo() {
    if (view_.Paused()) {
        return;
    }
    if (const std::optional<Action> action = history_.Undo()) {
        Apply(*action, false);
    }
}

void BoardSession::Redo() {
    if (view_.Paused()) {
        return;
    }
    if (const std::optional<Action> action = history_.Redo()) {
        Apply(*action, true);
    }
}

void BoardSession::Apply(const Action& action, bool after) {
    for (const CellChange& change : action) {
        const int column = change.index % 9;
        const int row = change.index / 9;
        if (view_.Locked().Contains(column, row)) {
            continue;
        }
        const CellState& target = after ? change.after : change.before;
        const bool digitChanges = target.text != view_.Cells()[change.index].text;
        SetCell(column, row, target);
        if (digitChanges) {
            WriteToEngine(column, row, target.text);
        }
    }
    UpdateMissingCount();
}

void BoardSession::SetCell(int column, int row, const CellState& state) {
    const bool digitChanges = view_.Cell(column, row).text != state.text;
    view_.SetCell(column, row, state);
    emit cellChanged(column, row);
    // A new digit is a move on: the step explained may no longer be the next one.
    if (digitChanges) {
        ClearExplanation();
    }
}

void BoardSession::Select(int column, int row) {
    if (view_.Selected() != CellIndex(column, row)) {
        view_.Select(column, row);
        emit viewChanged();
    }
}

void BoardSession::SetAids(const PlayAids& aids) {
    view_.SetAids(aids);
    UpdateSolution();
    emit viewChanged();
}

void BoardSession::ShowConflicts(bool shown) {
    view_.ShowConflicts(shown);
    emit viewChanged();
}

void BoardSession::AllowSolution(bool allowed) {
    solutionAllowed_ = allowed;
    UpdateSolution();
    PuzzleChanged();
    emit viewChanged();
}

void BoardSession::SetPaused(bool paused) {
    if (view_.Paused() != paused) {
        // The sentence would tell of the covered board.
        if (paused) {
            ClearExplanation();
        }
        view_.SetPaused(paused);
        emit viewChanged();
    }
}

void BoardSession::FillInAllNotes() {
    if (view_.Paused()) {
        return;
    }
    RecordAction([this] {
        for (int row = 0; row < 9; ++row) {
            for (int column = 0; column < 9; ++column) {
                if (CellText(column, row).isEmpty() && !view_.Locked().Contains(column, row)) {
                    const Notes candidates =
                        CandidateNotes(engine_.Candidates({.row = row, .column = column}));
                    SetCell(column, row, {QString(), candidates});
                }
            }
        }
    });
}

void BoardSession::ClearAllNotes() {
    if (view_.Paused()) {
        return;
    }
    RecordAction([this] {
        for (int index = 0; index < 81; ++index) {
            if (view_.Cells()[index].notes != 0) {
                SetCell(index % 9, index / 9, {view_.Cells()[index].text, 0});
            }
        }
    });
}

void BoardSession::UpdateSolution() {
    // Only Mark Mistakes needs the solution: without it, the engine is not asked.
    QString solution;
    if (solutionAllowed_ && locksOn_ && view_.Aids().markMistakes) {
        const QString puzzle = Puzzle();
        // Switching other aids asks again for the same puzzle: the last answer stands.
        if (puzzle != solvedPuzzle_) {
            solvedPuzzle_ = puzzle;
            lastSolution_ = engine_.UniqueSolution(puzzle);
        }
        solution = lastSolution_;
    }
    view_.SetSolution(solution);
}

QString BoardSession::Puzzle() const {
    if (!locksOn_) {
        return {};
    }
    QString puzzle(81, u'0');
    for (int index = 0; index < 81; ++index) {
        const int column = index % 9;
        const int row = index / 9;
        if (view_.Locked().Contains(column, row) && !CellText(column, row).isEmpty()) {
            puzzle[index] = CellText(column, row).at(0);
        }
    }
    return puzzle;
}

void BoardSession::ExplainNextStep() {
    if (view_.Paused() || !solutionAllowed_) {
        return;
    }
    QString puzzle = Puzzle();
    if (puzzle.isEmpty()) {
        puzzle = QString(81, u'0');
    }
    QString digits(81, u'0');
    for (int index = 0; index < 81; ++index) {
        if (!view_.Cells()[index].text.isEmpty()) {
            digits[index] = view_.Cells()[index].text.at(0);
        }
    }
    const QString ruledOut = puzzle == ruledOutPuzzle_ ? CandidatesText(ruledOut_) : QString();
    view_.SetExplanation(ParseStepExplanation(engine_.ExplainStep(puzzle, digits, ruledOut)));
    emit explanationChanged(view_.Explanation().sentence);
    emit viewChanged();
}

void BoardSession::ApplyNextStep() {
    if (view_.Paused() || !solutionAllowed_) {
        return;
    }
    if (view_.Explanation().kind != StepExplanation::Kind::Step) {
        ExplainNextStep();
    }
    const StepExplanation step = view_.Explanation();
    if (step.kind != StepExplanation::Kind::Step) {
        return;
    }
    RecordAction([&] {
        for (const StepExplanation::Candidate& removed : step.removes) {
            const CellState& cell = view_.Cells()[removed.cell];
            if ((cell.notes & NoteBit(removed.digit)) != 0) {
                SetCell(removed.cell % 9, removed.cell / 9,
                        {cell.text, Notes(cell.notes & ~NoteBit(removed.digit))});
            }
        }
        for (const StepExplanation::Candidate& placed : step.places) {
            if (!view_.Locked().Contains(placed.cell % 9, placed.cell / 9)) {
                PlayerWrites(placed.cell % 9, placed.cell / 9, QString::number(placed.digit));
            }
        }
    });
    const QString puzzle = Puzzle();
    if (puzzle != ruledOutPuzzle_) {
        ruledOut_.clear();
        ruledOutPuzzle_ = puzzle;
    }
    ruledOut_ += step.removes;
    ClearExplanation();
    UpdateMissingCount();
}

void BoardSession::ClearExplanation() {
    if (view_.Explanation().kind == StepExplanation::Kind::None) {
        return;
    }
    view_.SetExplanation({});
    emit explanationChanged(QString());
    emit viewChanged();
}

void BoardSession::PuzzleChanged() {
    ClearExplanation();
    const QString puzzle = solutionAllowed_ ? Puzzle() : QString();
    if (puzzle == ratedPuzzle_) {
        return;
    }
    ratedPuzzle_ = puzzle;
    ratingPoll_.stop();
    ShowRating(QString());
    if (!puzzle.isEmpty()) {
        AskRating();
    }
}

void BoardSession::AskRating() {
    if (ratedPuzzle_.isEmpty()) {
        return;
    }
    QString rating;
    try {
        rating = engine_.RatePuzzle(ratedPuzzle_);
    } catch (const std::exception&) {
        // The rating is extra information, asked for on the engine's time: failing to get one
        // leaves the panel empty rather than put an error box before a player who asked for
        // nothing.
        ShowRating(QString());
        return;
    }
    if (rating == kRatingUnderWay) {
        ShowRating(kRatingPending);
        ratingPoll_.start();
        return;
    }
    ShowRating(RatingCaption(rating));
}

void BoardSession::ShowRating(const QString& caption) {
    if (caption != ratingCaption_) {
        ratingCaption_ = caption;
        emit ratingChanged(caption);
    }
}

void BoardSession::WriteToEngine(int column, int row, const QString& text) {
    // The engine's answer is not examined: the board keeps what the player wrote.
    engine_.WriteCell({.row = row, .column = column}, text);
}

}  // namespace board
