#include "game/puzzle_commands.h"

#include <optional>
#include <stdexcept>

#include "board/board_session.h"
#include "engine/puzzle_engine.h"
#include "game/levels.h"
#include "game/online_game.h"
#include "game/stopwatch.h"
#include "toolkit/dialogs.h"
#include "toolkit/sentences.h"

namespace game {

namespace {

// A grid needs this many values before its solution is shown.
constexpr int kFewestValues = 15;

}  // namespace

PuzzleCommands::PuzzleCommands(engine::PuzzleEngine& engine, board::BoardSession& board,
                               Stopwatch& stopwatch, OnlineGame& online, toolkit::Dialogs& dialogs,
                               QObject* parent)
    : toolkit::Feature(parent),
      engine_(engine),
      board_(board),
      stopwatch_(stopwatch),
      online_(online),
      dialogs_(dialogs) {}

void PuzzleCommands::NewPuzzle(const QString& level) {
    const bool emptyGrid = board_.EngineGridIsEmpty();
    const std::optional<int> levelNumber = LevelNumber(level);
    if (!levelNumber) {
        throw std::runtime_error("Unknown level: " + level.toStdString());
    }
    if (!emptyGrid && !dialogs_.Confirm(sentences::kClearForNewPuzzle, toolkit::Answer::No)) {
        return;
    }
    if (online_.IsRunning()) {
        online_.ForfeitOnlineGame();
    }
    emit waitShown(sentences::kGenerating);
    board_.ClearBoard();
    const QString result = engine_.Generate(*levelNumber);
    if (result.isEmpty()) {
        board_.RefreshBoard(QStringLiteral("genera"));
        emit waitHidden();
        stopwatch_.Control(QStringLiteral("start"));
    } else {
        emit waitHidden();
        emit engineFailed(result, QString());
    }
}

void PuzzleCommands::EmptyGrid() {
    if (dialogs_.Confirm(sentences::kClearUnlockedCells, toolkit::Answer::No)) {
        // One action, however many cells it empties.
        board_.RecordAction([this] {
            engine_.Clear();
            board_.RestoreLockedCells();
        });
    }
    board_.UpdateMissingCount();
}

void PuzzleCommands::CheckGrid() {
    const int missing = 81 - engine_.FilledCount();
    if (missing != 0) {
        if (engine_.TestSolvable() == 1) {
            dialogs_.ShowMessage(toolkit::BoxKind::Information, sentences::kGridHasSolution);
        } else {
            dialogs_.ShowMessage(toolkit::BoxKind::Warning, sentences::kGridHasNoSolution);
        }
        return;
    }
    // The engine is asked twice, once for each answer it may give.
    if (engine_.VerifySolution() == QLatin1String("0")) {
        dialogs_.ShowMessage(toolkit::BoxKind::Error, sentences::kSolutionIncorrect);
        return;
    }
    if (engine_.VerifySolution() != QLatin1String("1")) {
        return;
    }
    stopwatch_.Control(QStringLiteral("stop"));
    dialogs_.ShowMessage(toolkit::BoxKind::Information, sentences::kGridSolved);
    // Leaving the program while the box was open may have given the game up already.
    if (online_.IsRunning()) {
        online_.ReportOnlineResult();
    }
}

void PuzzleCommands::ShowSolution() {
    if (engine_.FilledCount() < kFewestValues) {
        dialogs_.ShowMessage(toolkit::BoxKind::Error, sentences::kTooFewValues);
        return;
    }
    if (engine_.TestSolvable() == 0) {
        dialogs_.ShowMessage(toolkit::BoxKind::Warning, sentences::kGridHasNoSolution);
        return;
    }
    if (!dialogs_.Confirm(sentences::kShowSolutionQuestion, toolkit::Answer::No)) {
        return;
    }
    if (online_.IsRunning()) {
        online_.ForfeitOnlineGame();
    }
    QString result;
    board_.RecordAction([&] {
        engine_.Clear();
        board_.RestoreLockedCells();
        stopwatch_.Control(QStringLiteral("stop"));
        result = engine_.Solve();
        if (result != QLatin1String("0") && result != QLatin1String("1")) {
            return;
        }
        if (result == QLatin1String("0")) {
            dialogs_.ShowMessage(toolkit::BoxKind::Warning, sentences::kGridHasNoSolution);
        }
        board_.RefreshBoard(QStringLiteral("soluzione"));
    });
    if (result != QLatin1String("0") && result != QLatin1String("1")) {
        emit engineFailed(result, QString());
    }
}

}  // namespace game
