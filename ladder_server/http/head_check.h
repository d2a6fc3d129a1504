#pragma once

// The head of an HTTP/1.x request (its request line and header lines) checked as raw bytes,
// before any parser reads it. Beast's parser takes some heads that a front could read as
// another request than this server does (request smuggling): folded header lines, a blank
// before a colon, a CR or LF alone, a Content-Length beside chunks, two different lengths. Those
// are refused here, and so is what HTTP/1.1 requires a server to refuse (no Host, or two, an
// expectation it does not know), with the status each calls for. Every size is bounded, so a
// peer cannot make the server keep more than Limits allows.

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

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

// Bytes that are no request this server takes. The answer has this status, and the
// connection ends after it, since where the next request would start is unknown.
struct Malformed {
    int status = 400;
    std::string message;  // quotes nothing the peer sent
};

// A head that passed: bytes[start, end) is the request line up to the empty line that ends the
// head, after the empty lines RFC 9112 lets a peer send before a request.
struct HeadChecked {
    std::size_t start = 0;
    std::size_t end = 0;
    bool chunked = false;  // the body comes in chunks
    bool expectsContinue = false;
};

using HeadCheck = std::variant<NeedMore, HeadChecked, Malformed>;

// Lines end in CR LF only. The target is a path, "*" or an absolute http(s) URL; the version
// HTTP/1.0 or HTTP/1.1 (505 for another). Statuses: 400 (malformed, ambiguous framing, no
// Host or two), 413 (a Content-Length over maxBodyBytes), 414, 417, 431, 501 (a transfer
// coding other than chunked alone), 505. NeedMore while the head has not ended and no limit is
// passed.
HeadCheck CheckHead(std::string_view bytes, const Limits& limits);

// The path of a request target: "/a/b?q" gives "/a/b"; so does "http://host/a/b?q"; "*" is
// itself. Empty for a target of another form.
std::string PathOfTarget(std::string_view target);

}  // namespace ladder::http
