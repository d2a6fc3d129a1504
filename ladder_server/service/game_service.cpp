#include "ladder_server/service/game_service.h"

#include "ladder_server/service/game_id.h"

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
    store_.AddGame(game);
    return StartedGame{game.id, game.puzzle};
}

GameAnswer<GameRecord> GameService::PlayableGame(std::string_view user, std::string_view gameId) {
    if (!LooksLikeGameId(gameId)) {
        return Refusal::NotLadder;
    }
    auto open = store_.FindOpenGame(gameId, user);
    if (!open) {
        return Refusal::NotLadder;
    }
    if (!open->ownerEnabled) {
        return Refusal::NotEnabled;
    }
    return std::move(open->game);
}

GameAnswer<std::int64_t> GameService::Finish(std::string_view user, std::string_view gameId,
                                             const sudoku::Grid& grid) {
    auto playable = PlayableGame(user, gameId);
    if (const auto* refusal = std::get_if<Refusal>(&playable)) {
        return *refusal;
    }
    const GameRecord& game = std::get<GameRecord>(playable);
    const auto puzzle = sudoku::ParseLine(game.puzzle);
    const bool solved = puzzle && sudoku::IsSolved(grid) && sudoku::Agrees(*puzzle, grid);
    const auto seconds = store_.CloseGame(game.id, solved ? GameState::Solved : GameState::Failed);
    if (!seconds) {
        return Refusal::NotLadder;  // closed by a request that came in between
    }
    if (!solved) {
        return Refusal::NotCompleted;
    }
    return *seconds;
}

GameAnswer<Forfeited> GameService::Forfeit(std::string_view user, std::string_view gameId) {
    auto playable = PlayableGame(user, gameId);
    if (const auto* refusal = std::get_if<Refusal>(&playable)) {
        return *refusal;
    }
    if (!store_.CloseGame(std::get<GameRecord>(playable).id, GameState::Forfeited)) {
        return Refusal::NotLadder;
    }
    return Forfeited{};
}

}  // namespace ladder
