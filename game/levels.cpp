#include "game/levels.h"

namespace game {

std::optional<int> LevelNumber(const QString& level) {
    if (level == QLatin1String("Easy")) {
        return 50;
    }
    if (level == QLatin1String("Medium")) {
        return 65;
    }
    if (level == QLatin1String("Hard")) {
        return 81;
    }
    return std::nullopt;
}

}  // namespace game
