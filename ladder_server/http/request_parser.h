#pragma once

// Reading one HTTP/1.x request from the bytes a connection has received so far: a pure
// function, called again as more bytes arrive. The head is first held to CheckHead, which
// refuses what a front could read differently; Beast's parser then reads the same bytes, head
// and body, chunks decoded. The two see the very bytes that reach the handler.

#include <cstddef>
#include <string_view>
#include <variant>

#include "ladder_server/http/head_check.h"
#include "ladder_server/http/message.h"

namespace ladder::http {

// A whole request, taking the first consumed bytes; what follows is the next request.
struct Parsed {
    Request request;
    std::size_t consumed = 0;
};

using ParseResult = std::variant<NeedMore, Parsed, Malformed>;

// Besides CheckHead's statuses: 400 for a malformed chunked body (a line of it ending in LF
// alone included), 413 for a body over maxBodyBytes once decoded, or whose chunk framing grows
// beyond a few times that. Trailers are read past and not kept. peerAddress is left empty.
ParseResult ParseRequest(std::string_view bytes, const Limits& limits);

}  // namespace ladder::http
