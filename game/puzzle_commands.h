#pragma once

#include <QString>

#include "toolkit/feature.h"

namespace board {
class BoardSession;
}

namespace engine {
class PuzzleEngine;
}

namespace toolkit {
class Dialogs;
}

namespace game {

class OnlineGame;
class Stopwatch;

// The commands that make and judge the puzzle on the board: a new puzzle, emptying the grid,
// checking it and showing the solution. Each gives a running online game up, or reports it,
// where the player's command ends it.
class PuzzleCommands : public toolkit::Feature {
    Q_OBJECT

public:
    // Every reference must outlive the commands.
    PuzzleCommands(engine::PuzzleEngine& engine, board::BoardSession& board, Stopwatch& stopwatch,
                   OnlineGame& online, toolkit::Dialogs& dialogs, QObject* parent = nullptr);

    // A new puzzle at level ("Easy", "Medium" or "Hard"; raises std::runtime_error for any
    // other): asked first when the board holds a digit, its givens locked and the stopwatch
    // started.
    void NewPuzzle(const QString& level);
    // Empties every unlocked cell once the player confirms; the counter is asked again either
    // way.
    void EmptyGrid();
    // A partial grid is tested for a solution, a full one for correctness; a solved grid stops
    // the stopwatch and, in an online game, is handed in.
    void CheckGrid();
    // Solves from the locked cells alone, once the grid holds 15 values, has a solution and the
    // player confirms.
    void ShowSolution();

private:
    engine::PuzzleEngine& engine_;
    board::BoardSession& board_;
    Stopwatch& stopwatch_;
    OnlineGame& online_;
    toolkit::Dialogs& dialogs_;
};

}  // namespace game
