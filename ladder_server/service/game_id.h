#pragma once

// Game ids: the bearer secret of one ladder game. 128 bits from libsodium's generator,
// written as 32 lower-case hex digits, so guessing one is hopeless.

#include <string>
#include <string_view>

namespace ladder {

inline constexpr std::size_t kGameIdLength = 32;

std::string NewGameId();

// Exactly kGameIdLength characters 0-9 and a-f: the form NewGameId gives. Any other text
// cannot name a game.
bool LooksLikeGameId(std::string_view text);

}  // namespace ladder
