#pragma once

#include <QString>
#include <string_view>

#include "engine/engine_link.h"

namespace engine {

// A cell as the engine's cell operations take it: the row first. Rows and columns are 0 to 8
// from the top left. Named fields, so that a caller writes {.row = r, .column = c} and cannot
// swap them unnoticed.
struct Cell {
    int row = 0;
    int column = 0;
};

// The engine's operations by name, each one late-bound call on the started engine object.
// Results are the engine's own: "" for success or an error code where an operation can fail
// (error codes are results, never exceptions). Every call raises DispatchError for a call the
// engine cannot understand and std::runtime_error when the engine has not started.
class PuzzleEngine {
public:
    // link must outlive this object.
    explicit PuzzleEngine(EngineLink& link) : link_(link) {}

    // The grid text: nine CR LF lines of nine "digit blank" pairs, "0" for an empty cell.
    QString GridText();
    // Writes one digit "1" to "9" into a cell; an empty digit empties it.
    QString WriteCell(Cell cell, const QString& digit);
    // The cell's digit ("0" if empty), then "1" or "0" for each digit 1 to 9 that its row,
    // column and box still allow.
    QString Candidates(Cell cell);
    // Empties the whole grid.
    void Clear();
    // The number of filled cells; raises std::runtime_error when the engine gives no number.
    int FilledCount();
    // 1 when no rule is broken and a solution exists, else 0.
    int TestSolvable();
    // "1" when the grid is full and correct, else "0".
    QString VerifySolution();
    // "1" when solved in place, "0" when there is no solution (the grid unchanged).
    QString Solve();
    // Makes a new puzzle with at most levelNumber empty cells and holds it as the grid.
    QString Generate(int levelNumber);
    QString SaveToFile(const QString& path);
    QString LoadFromFile(const QString& path);
    QString Version();
    // The one solution of an 81-character puzzle ("0" for a blank) as 81 digits, or "" when
    // it has none or several; the engine's grid stays as it is.
    QString UniqueSolution(const QString& puzzle);
    // The rating of an 81-character puzzle: "difficulty|hardest technique" ("4.2|XY-Wing"),
    // "?|" when no technique of the scale gets through, "" when it has none or several
    // solutions; "IN_CORSO" while the engine is still rating it, to be asked again later.
    QString RatePuzzle(const QString& puzzle);
    // The next step from the board's digits (81 characters each for the locked givens and the
    // whole board; ruledOut "cell:digit" pairs from steps taken before), as the engine's
    // "key=value" lines, as puzzle_engine/step_report.h lists them.
    QString ExplainStep(const QString& puzzle, const QString& board, const QString& ruledOut);

    // The online ladder: a game id (or an error code) for a new game whose puzzle becomes the
    // grid; the official time in seconds for a finished one; "" for a forfeit the server took.
    QString StartLadderGame(const QString& user, const QString& password);
    QString FinishLadderGame(const QString& user, const QString& password, const QString& gameId);
    QString ForfeitLadderGame(const QString& user, const QString& password, const QString& gameId);
    // The download address of a newer version, or "" when there is none or no answer.
    QString CheckVersion();

private:
    // An operation's result as a whole number; raises std::runtime_error for anything else.
    int Number(std::string_view operation);

    EngineLink& link_;
};

}  // namespace engine
