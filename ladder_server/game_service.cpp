#include "ladder_server/game_service.h"

#include <algorithm>

#include "ladder_server/game_id.h"

namespace ladder {

GameAnswer<StartedGame> GameService::Start(std::string_view user, std::string_view password,
                                           std::string_view address) {
    const auto account = accounts_.Authenticate(user, password, address);
    if (!account) {
        return Refusal::NotEnabled;
    }
    const LadderPuzzle dealt = dealer_();
    GameRecord game;
    game.id = NewGameId();
    game.userId = account->id;
    game.puzzle = sudoku::FormatLine(dealt.generated.puzzle, '.');
    game.solution = sudoku::FormatLine(dealt.generated.solution, '0');
    game.level = dealt.level;
    game.startedAtMs = clock_.NowMs();
    game.state = GameState::Open;
    store_.AddGame(game);
    return StartedGame{game.id, game.puzzle};
}

std::optional<GameRecord> GameService::OpenGame(std::string_view user, std::string_view gameId) {
    if (!LooksLikeGameId(gameId)) {
        return std::nullopt;
    }
    return store_.FindOpenGame(gameId, user);
}

GameAnswer<std::int64_t> GameService::Finish(std::string_view user, std::string_view gameId,
                                             const sudoku::Grid& grid) {
    const auto game = OpenGame(user, gameId);
    if (!game) {
        return Refusal::NotLadder;
    }
    const std::int64_t nowMs = clock_.NowMs();
    const auto puzzle = sudoku::ParseLine(game->puzzle);
    const bool solved = puzzle && sudoku::IsSolved(grid) && sudoku::Agrees(*puzzle, grid);
    if (!solved) {
        if (!store_.CloseGame(game->id, GameState::Failed, nowMs, std::nullopt)) {
            return Refusal::NotLadder;
        }
        return Refusal::NotCompleted;
    }
    // A clock set back between start and finish must not give a negative time.
    const std::int64_t seconds = std::max<std::int64_t>(0, (nowMs - game->startedAtMs) / 1000);
    if (!store_.CloseGame(game->id, GameState::Solved, nowMs, seconds)) {
        return Refusal::NotLadder;  // closed by a request that came in between
    }
    return seconds;
}

GameAnswer<Forfeited> GameService::Forfeit(std::string_view user, std::string_view gameId) {
    const auto game = OpenGame(user, gameId);
    if (!game || !store_.CloseGame(game->id, GameState::Forfeited, clock_.NowMs(), std::nullopt)) {
        return Refusal::NotLadder;
    }
    return Forfeited{};
}

}  // namespace ladder
