#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace puzzle_engine {

// Compares two versions written as dotted decimal numbers ("1.10.0"), number by number, so
// that 1.10.0 comes after 1.9.0; a missing number counts as 0 (1.2 equals 1.2.0) and leading
// zeros do not count. Nothing when either text is anything else: empty, a sign, a letter, a
// suffix such as "-beta", or an empty number ("1..2", "1.").
std::optional<std::strong_ordering> CompareVersions(std::string_view left, std::string_view right);

// An absolute http:// or https:// address with a host, of printable ASCII characters only
// (no blank, no control character): something that may be handed to a web browser.
bool IsWebAddress(std::string_view text);

// What the version check tells the program: the download address when the server's version is
// newer than own and the address is a web address; "" otherwise, also when either version
// cannot be read.
std::string UpdateAddress(std::string_view serverVersion, std::string_view download,
                          std::string_view own);

}  // namespace puzzle_engine
