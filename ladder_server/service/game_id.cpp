#include "ladder_server/service/game_id.h"

#include <sodium.h>

#include <algorithm>

#include "ladder_server/service/sodium_init.h"

namespace ladder {

std::string NewGameId() {
    InitSodium();
    unsigned char bits[kGameIdLength / 2];
    randombytes_buf(bits, sizeof bits);
    char hex[kGameIdLength + 1];
    sodium_bin2hex(hex, sizeof hex, bits, sizeof bits);
    return std::string(hex, kGameIdLength);
}

bool LooksLikeGameId(std::string_view text) {
    return text.size() == kGameIdLength && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

}  // namespace ladder
