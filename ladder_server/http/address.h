#pragma once

// Client addresses as text: which texts are one.

#include <string>

namespace ladder::http {

// Whether text is a numeric IPv4 or IPv6 address ("127.0.0.1", "::1"), as the server writes a
// peer's.
bool IsNumericAddress(const std::string& text);

}  // namespace ladder::http
