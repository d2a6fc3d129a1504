#pragma once

// Reading one HTTP/1.x request from the bytes a connection has received so far: a pure
// function, called again as more bytes arrive. It is strict where a lenient reading would let
// a front and this server see different requests in the same bytes (request smuggling): a
// Content-Length together with chunks, two different lengths, folded header lines, blanks
// before a colon are all refused. Every size is bounded, so a peer cannot make the server keep
// more than Limits allows.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "ladder_server/http/message.h"

namespace ladder::http {

struct Limits {
    std::size_t maxHeadBytes = 8 * 1024;  // the request line and every header line
    std::size_t maxHeaderLines = 64;
    std::size_t maxTargetBytes = 2 * 1024;
    std::size_t maxBodyBytes = 16 * 1024;  // after chunks are decoded
};

// Not a whole request yet. headComplete: the headers are in and the body is awaited, which a
// peer that sent "Expect: 100-continue" wants to hear before it sends it.
struct NeedMore {
    bool headComplete = false;
    bool expectsContinue = false;
};

// A whole request, taking the first consumed bytes; what follows is the next request.
struct Parsed {
    Request request;
    std::size_t consumed = 0;
};

// Bytes that are no request this server takes. The answer has this status, and the
// connection ends after it, since where the next request would start is unknown.
struct Malformed {
    int status = 400;
    std::string message;  // quotes nothing the peer sent
};

using ParseResult = std::variant<NeedMore, Parsed, Malformed>;

// Empty lines before the request line are skipped, as RFC 9112 allows. Lines may end in CR LF
// or LF alone. The target may be a path or an absolute http(s) URL, whose path is taken.
ParseResult ParseRequest(std::string_view bytes, const Limits& limits);

}  // namespace ladder::http
