#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

#include "board/board_view.h"
#include "board/grid_text.h"
#include "board/history.h"
#include "board/locked_cells.h"
#include "board/step_explanation.h"

namespace engine {
class PuzzleEngine;
}

namespace board {

// The puzzle on the board as the player works on it, and the one owner of what the board
// shows (BoardView): the cells' digits and pencil notes, which cells are locked, the selected
// cell, the play aids and their marks, the pause; besides, the lock switch, the pen and the
// history of the player's actions. Every digit the player writes goes to the engine at once,
// and a locked cell takes none; notes are the player's alone and never reach the engine. The
// session holds no widget: the board paints from View() when cellChanged or viewChanged says
// so, and reports the player's clicks and keys back. While paused, the board takes no input.
// Columns and rows are 0 to 8.
class BoardSession : public QObject {
    Q_OBJECT

public:
    // engine must outlive the session.
    explicit BoardSession(engine::PuzzleEngine& engine, QObject* parent = nullptr);

    // What the board shows; the reference stays valid for the session's life.
    const BoardView& View() const { return view_; }
    // Empty or one digit.
    QString CellText(int column, int row) const { return view_.Cell(column, row).text; }
    Notes CellNotes(int column, int row) const { return view_.Cell(column, row).notes; }
    const LockedCells& Locked() const { return view_.Locked(); }
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

    // The player's place on the board, which the aids highlight around.
    void Select(int column, int row);
    // The aids switched on. A solution is known, for Mark Mistakes, only while the locked cells
    // are a puzzle with exactly one solution and solutions are allowed.
    void SetAids(const PlayAids& aids);
    // Whether digits that repeat in their row, column or box are marked.
    void ShowConflicts(bool shown);
    // An online game's solution must stay the server's: while not allowed, none is asked for,
    // and neither a rating nor an explained step.
    void AllowSolution(bool allowed);
    // While paused the board shows nothing of the puzzle and takes no input.
    void SetPaused(bool paused);
    // Every empty, unlocked cell gets the candidates the engine gives for it as its notes;
    // one action. Clearing removes every note; one action.
    void FillInAllNotes();
    void ClearAllNotes();

    // The locked cells' digits as 81 characters, "0" for every other cell; empty while the
    // lock is off. The puzzle being played.
    QString Puzzle() const;
    // Asks the engine for the next step from the board's digits and shows it: the sentence
    // (explanationChanged) and the step's marks on the board, until a cell's digit changes,
    // the puzzle changes, the game pauses or the explanation is cleared. Nothing while paused or
    // while solutions are not allowed.
    void ExplainNextStep();
    // Makes the step explained now, explaining one first when none is shown: its digits placed
    // (as the player's writes, notes of their houses cleared) and its candidates dropped from
    // the notes, as one action. The candidates it rules out count as ruled out for the next
    // steps of the same puzzle, noted or not. A mistake or no step changes nothing.
    void ApplyNextStep();
    void ClearExplanation();
    const StepExplanation& Explanation() const { return view_.Explanation(); }

signals:
    // A cell's digit or notes changed.
    void cellChanged(int column, int row);
    // Something else the board shows changed: the selection, the aids, the locks, the
    // solution, the conflict marks or the pause.
    void viewChanged();
    // The lock switch flipped; the locked cells changed with it.
    void locksChanged(bool on);
    // How many cells the engine counts empty.
    void missingCountChanged(int missing);
    // The sentence of the step explained now; empty when none is.
    void explanationChanged(const QString& sentence);
    // The puzzle's rating as the player reads it ("Rating 4.2 (XY-Wing)"), while the engine
    // works on it "Rating..."; empty when there is no puzzle to rate or it must not be rated.
    void ratingChanged(const QString& caption);

private:
    // The one place a cell changes: what the board shows follows.
    void SetCell(int column, int row, const CellState& state);
    void WriteToEngine(int column, int row, const QString& text);
    // The player's own write of a digit or an empty cell: the cell, its notes and its peers'
    // notes, the engine and the counter, unless the cell is locked. Recorded as one action.
    void PlayerWrites(int column, int row, const QString& text);
    // Brings cells to one side of an action, skipping locked ones, with the engine following.
    void Apply(const Action& action, bool after);

    // The solution of the locked cells when that is allowed and there is exactly one.
    void UpdateSolution();
    // The puzzle changed or may no longer be rated: the explanation goes, the rating follows.
    void PuzzleChanged();
    // Asks for the rating of the current puzzle, again while the engine is still at it.
    void AskRating();
    void ShowRating(const QString& caption);

    engine::PuzzleEngine& engine_;
    BoardView view_;
    QString currentGridText_;
    bool solutionAllowed_ = true;
    // The last puzzle the engine solved and its answer.
    QString solvedPuzzle_;
    QString lastSolution_;
    bool locksOn_ = false;
    QString selectedDigit_ = QStringLiteral("0");
    History history_;
    // Actions record themselves only at the outermost level.
    int recording_ = 0;
    // The candidates applied steps ruled out, and the puzzle they belong to.
    QString ruledOutPuzzle_;
    QList<StepExplanation::Candidate> ruledOut_;
    // The puzzle rated or being rated, and the caption shown.
    QString ratedPuzzle_;
    QString ratingCaption_;
    QTimer ratingPoll_;
};

}  // namespace board
