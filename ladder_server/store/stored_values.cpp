#include "ladder_server/store/stored_values.h"

#include <stdexcept>
#include <string>

namespace ladder {

const char* StateText(GameState state) {
    switch (state) {
        case GameState::Open:
            return "open";
        case GameState::Solved:
            return "solved";
        case GameState::Failed:
            return "failed";
        case GameState::Forfeited:
            return "forfeited";
    }
    throw std::invalid_argument("unknown game state");
}

const char* LevelText(LadderLevel level) {
    return level == LadderLevel::Hard ? "hard" : "medium";
}

GameState StateFromText(std::string_view text) {
    for (const GameState state :
         {GameState::Open, GameState::Solved, GameState::Failed, GameState::Forfeited}) {
        if (text == StateText(state)) {
            return state;
        }
    }
    throw std::runtime_error("unknown game state \"" + std::string(text) + "\" in the database");
}

LadderLevel LevelFromText(std::string_view text) {
    if (text == "hard") {
        return LadderLevel::Hard;
    }
    if (text == "medium") {
        return LadderLevel::Medium;
    }
    throw std::runtime_error("unknown level \"" + std::string(text) + "\" in the database");
}

}  // namespace ladder
