#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace ladder {

inline constexpr std::size_t kMaxUserNameBytes = 32;

// 1 to 32 characters: letters, digits, '.', '_' and '-'; the names the operator can add.
inline bool IsValidUserName(std::string_view name) {
    return !name.empty() && name.size() <= kMaxUserNameBytes &&
           std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '.' || c == '_' || c == '-';
           });
}

}  // namespace ladder
