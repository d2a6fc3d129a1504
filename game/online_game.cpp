#include "game/online_game.h"

#include <QCoreApplication>

#include "board/board_session.h"
#include "engine/puzzle_engine.h"
#include "game/engine_result.h"
#include "game/stopwatch.h"
#include "game/time_text.h"
#include "help/help_commands.h"
#include "toolkit/dialogs.h"
#include "toolkit/sentences.h"

namespace game {

OnlineGame::OnlineGame(engine::PuzzleEngine& engine, board::BoardSession& board,
                       Stopwatch& stopwatch, help::HelpCommands& help, toolkit::Dialogs& dialogs,
                       QObject* parent)
    : toolkit::Feature(parent),
      engine_(engine),
      board_(board),
      stopwatch_(stopwatch),
      help_(help),
      dialogs_(dialogs) {}

void OnlineGame::Challenge(const Account& account) {
    if (help_.OfferNewerVersion()) {
        return;
    }
    if (!board_.EngineGridIsEmpty() &&
        !dialogs_.Confirm(sentences::kClearForNewPuzzle, toolkit::Answer::No)) {
        return;
    }
    emit waitShown(sentences::kRetrieving);
    board_.ClearBoard();
    account_ = account;
    gameId_.clear();
    gameId_ = engine_.StartLadderGame(account_.user, account_.password);
    // Only a game id starts a game: a refusal, any other failure or no answer at all is
    // shown, and the board stays empty.
    if (gameId_.isEmpty() || IsEngineErrorCode(gameId_)) {
        emit waitHidden();
        QCoreApplication::processEvents();
        emit engineFailed(gameId_, QString());
        return;
    }
    SetOnlineGameState(QStringLiteral("inizia_partita"));
    board_.RefreshBoard(QStringLiteral("genera"));
    emit waitHidden();
    stopwatch_.Control(QStringLiteral("start"));
}

void OnlineGame::SetOnlineGameState(const QString& state) {
    running_ = state == QLatin1String("inizia_partita");
    watchingDeactivation_ = running_;
    emit gameStateChanged(running_);
}

QString OnlineGame::CallWithGame(QString (engine::PuzzleEngine::*operation)(const QString&,
                                                                            const QString&,
                                                                            const QString&)) {
    return (engine_.*operation)(account_.user, account_.password, gameId_);
}

void OnlineGame::ForfeitOnlineGame() {
    const QString result = CallWithGame(&engine::PuzzleEngine::ForfeitLadderGame);
    SetOnlineGameState(QStringLiteral("fine_partita"));
    // Undo reaches no further back than the game given up.
    board_.ClearHistory();
    if (!result.isEmpty()) {
        emit engineFailed(result, QString());
    }
}

void OnlineGame::ForfeitOnClose() {
    // The closing window must not count as leaving the program and give the game up twice.
    watchingDeactivation_ = false;
    CallWithGame(&engine::PuzzleEngine::ForfeitLadderGame);
}

void OnlineGame::ApplicationDeactivated() {
    if (!watchingDeactivation_) {
        return;
    }
    watchingDeactivation_ = false;
    dialogs_.ShowMessage(toolkit::BoxKind::Warning, sentences::kOnlineGameLeft);
    ForfeitOnlineGame();
}

void OnlineGame::ReportOnlineResult() {
    const QString result = CallWithGame(&engine::PuzzleEngine::FinishLadderGame);
    SetOnlineGameState(QStringLiteral("fine_partita"));
    // Only a number of seconds is the server's time; every other answer is shown as it is.
    if (std::optional<quint64> seconds = DecimalSeconds(result)) {
        emit serverTimeShown(TimeText(*seconds));
    } else {
        emit engineFailed(result, QString());
    }
}

}  // namespace game
