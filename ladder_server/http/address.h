#pragma once

// Client addresses as text: how the server writes a peer's, and which texts are one.

#include <sys/socket.h>

#include <string>

namespace ladder::http {

// The numeric text of an IPv4 or IPv6 address ("127.0.0.1", "::1"); "" for another family.
std::string NumericAddress(const sockaddr_storage& address);

// Whether text is a numeric IPv4 or IPv6 address, as NumericAddress writes one.
bool IsNumericAddress(const std::string& text);

}  // namespace ladder::http
