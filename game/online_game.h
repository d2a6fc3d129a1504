#pragma once

#include <QString>

#include "game/account.h"
#include "toolkit/feature.h"

namespace board {
class BoardSession;
}

namespace engine {
class PuzzleEngine;
}

namespace help {
class HelpCommands;
}

namespace toolkit {
class Dialogs;
}

namespace game {

class Stopwatch;

// The online ladder game: a timed challenge against the game server, the program's one mode
// switch. While a game runs the window locks hints off (gameStateChanged), and leaving the
// program gives the game up.
class OnlineGame : public toolkit::Feature {
    Q_OBJECT

public:
    // Every reference must outlive the game.
    OnlineGame(engine::PuzzleEngine& engine, board::BoardSession& board, Stopwatch& stopwatch,
               help::HelpCommands& help, toolkit::Dialogs& dialogs, QObject* parent = nullptr);

    bool IsRunning() const { return running_; }
    // The server's id of the running game.
    const QString& GameId() const { return gameId_; }

    // A new challenge as the account: none while a newer version exists; the player is asked
    // before a board with digits is thrown away; only a game id from the server starts a game,
    // any other answer is shown and leaves the board empty.
    void Challenge(const Account& account);
    // Gives the running game up and returns to the offline state; a failure is shown.
    void ForfeitOnlineGame();
    // A solved grid: hands it in, ends the game and shows the server's time (serverTimeShown)
    // or the server's refusal.
    void ReportOnlineResult();
    // The window is closing during a game: the game is given up once, whatever the answer,
    // and leaving the program no longer counts.
    void ForfeitOnClose();
    // Another program became active. During a game the player is told, once, and the game is
    // given up; otherwise nothing happens.
    void ApplicationDeactivated();

signals:
    void gameStateChanged(bool running);
    // The official time of a finished game, as a time text.
    void serverTimeShown(const QString& text);

private:
    // "inizia_partita": a game starts; "fine_partita": it is over.
    void SetOnlineGameState(const QString& state);
    // Calls a ladder operation with the account and the game id.
    QString CallWithGame(QString (engine::PuzzleEngine::*operation)(const QString&, const QString&,
                                                                    const QString&));

    engine::PuzzleEngine& engine_;
    board::BoardSession& board_;
    Stopwatch& stopwatch_;
    help::HelpCommands& help_;
    toolkit::Dialogs& dialogs_;
    Account account_;
    QString gameId_;
    bool running_ = false;
    // Whether leaving the program gives the game up now.
    bool watchingDeactivation_ = false;
};

}  // namespace game
