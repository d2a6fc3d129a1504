#pragma once

// The rules of a ladder game: start with the password, finish with a correct grid by the
// store's clock, or forfeit. What the HTTP routes call; no HTTP in here.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "ladder_server/service/account_service.h"
#include "ladder_server/service/ladder_puzzles.h"
#include "ladder_server/store/store.h"
#include "sudoku/grid.h"

namespace ladder {

// Why a game request was turned down; each has one answer in the protocol.
enum class Refusal {
    NotEnabled,    // unknown user, wrong password or not enabled, never told apart; also a
                   // finish or forfeit by an account disabled since the game started
    NotLadder,     // no open game of that id for that user
    NotCompleted,  // the grid is not a correct solution; the game is now closed as failed
};

struct StartedGame {
    std::string gameId;
    std::string puzzle;  // 81 characters, '.' for an empty cell
};

template <class T>
using GameAnswer = std::variant<T, Refusal>;

struct Forfeited {};

class GameService {
public:
    using Dealer = std::function<LadderPuzzle()>;

    // Both must outlive the service; dealer makes each new game's puzzle.
    GameService(Store& store, AccountService& accounts, Dealer dealer = DealLadderPuzzle)
        : store_(store), accounts_(accounts), dealer_(std::move(dealer)) {}

    // Whether a start for user from the client address may be tried now; when not, a start
    // would be refused without checking the password (AccountService::MayTryLogin).
    bool MayTryStart(std::string_view user, std::string_view address) {
        return accounts_.MayTryLogin(user, address);
    }

    // Checks the password once, then deals and stores a new open game started now. address
    // is the client's, for the throttling of failed logins.
    GameAnswer<StartedGame> Start(std::string_view user, std::string_view password,
                                  std::string_view address);

    // The official time in whole seconds from start to now, by the store's clock, when grid
    // solves the user's open game; the game is closed either way, as solved or as failed.
    // A game whose owner was disabled meanwhile stays open.
    GameAnswer<std::int64_t> Finish(std::string_view user, std::string_view gameId,
                                    const sudoku::Grid& grid);

    GameAnswer<Forfeited> Forfeit(std::string_view user, std::string_view gameId);

    std::optional<StandingsPage> Standings(const StandingsQuery& query) {
        return store_.Standings(query);
    }
    VersionInfo Version() { return store_.Version(); }

    // For the operators: whether the store reaches its database now, which never throws, and
    // how its connections are used.
    bool StoreReachable() { return store_.Reachable(); }
    PoolUse StoreConnections() const { return store_.ConnectionUse(); }

private:
    // The user's open game when its owner may still play, else the refusal.
    GameAnswer<GameRecord> PlayableGame(std::string_view user, std::string_view gameId);

    Store& store_;
    AccountService& accounts_;
    Dealer dealer_;
};

}  // namespace ladder
