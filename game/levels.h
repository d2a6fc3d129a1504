#pragma once

#include <QString>
#include <optional>

namespace game {

// The number the engine makes a puzzle with, for a level: "Easy" 50, "Medium" 65, "Hard"
// 81, compared exactly; nothing for any other text.
std::optional<int> LevelNumber(const QString& level);

}  // namespace game
