#pragma once

// How game states and levels are written in both databases' columns.

#include <string_view>

#include "ladder_server/store/store.h"

namespace ladder {

// The keys of the version service in the settings table.
inline constexpr const char* kVersionSetting = "version";
inline constexpr const char* kDownloadSetting = "download";

// Why an import was refused, in both stores' words.
inline constexpr const char* kNotEmptyMessage =
    "the target database holds users or games already; a ladder is copied only into an empty "
    "one";

const char* StateText(GameState state);
const char* LevelText(LadderLevel level);

// Throw std::runtime_error for a text no store writes: the database was changed by hand.
GameState StateFromText(std::string_view text);
LadderLevel LevelFromText(std::string_view text);

}  // namespace ladder
