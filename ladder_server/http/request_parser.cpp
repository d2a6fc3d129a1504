#include "ladder_server/http/request_parser.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>

namespace ladder::http {

namespace {

constexpr std::string_view kBlanks = " \t";
// The longest chunk-size line (size and extensions) taken.
constexpr std::size_t kMaxChunkLine = 1024;
// Chunk framing may take at most this many times the body's own bytes on the wire.
constexpr std::size_t kChunkOverhead = 4;

// Successive lines of bytes from a position; a line ends in LF, and a CR before it is dropped.
class LineReader {
public:
    LineReader(std::string_view bytes, std::size_t position) : bytes_(bytes), position_(position) {}

    // The next whole line, or nothing when its end has not arrived.
    std::optional<std::string_view> Next() {
        const std::size_t end = bytes_.find('\n', position_);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        std::string_view line = bytes_.substr(position_, end - position_);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        position_ = end + 1;
        return line;
    }
    std::size_t Position() const { return position_; }
    std::size_t Unread() const { return bytes_.size() - position_; }

private:
    std::string_view bytes_;
    std::size_t position_;
};

bool IsTokenChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool IsToken(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsTokenChar);
}

// Visible characters, blanks and bytes beyond ASCII; no control character.
bool IsFieldValue(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte == '\t' || (byte >= 0x20 && byte != 0x7f);
    });
}

bool IsTargetText(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7f;
    });
}

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

// Calls each(item) for every comma-separated item of the headers of that name, trimmed.
template <class Each>
void ForEachListItem(const std::vector<Header>& headers, std::string_view name, Each each) {
    for (const Header& header : headers) {
        if (!SameName(header.name, name)) {
            continue;
        }
        std::string_view rest = header.value;
        while (!rest.empty()) {
            const std::size_t comma = rest.find(',');
            const std::string_view item = Trim(rest.substr(0, comma));
            if (!item.empty()) {
                each(item);
            }
            rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        }
    }
}

// The path of a request target: "/a/b?q" gives "/a/b"; so does "http://host/a/b?q".
std::optional<std::string> PathOf(std::string_view target) {
    if (target == "*") {
        return std::string(target);
    }
    if (StartsWithNoCase(target, "http://") || StartsWithNoCase(target, "https://")) {
        const std::size_t authority = target.find("://") + 3;
        const std::size_t slash = target.find('/', authority);
        target = slash == std::string_view::npos ? std::string_view("/") : target.substr(slash);
    }
    if (target.empty() || target.front() != '/') {
        return std::nullopt;
    }
    return std::string(target.substr(0, target.find_first_of("?#")));
}

Malformed Refuse(int status, std::string message) {
    return Malformed{status, std::move(message)};
}

// "METHOD SP target SP HTTP/1.x" into request; a refusal when it is not that.
std::optional<Malformed> ReadRequestLine(std::string_view line, const Limits& limits,
                                         Request& request) {
    const std::size_t firstSpace = line.find(' ');
    const std::size_t secondSpace =
        firstSpace == std::string_view::npos ? firstSpace : line.find(' ', firstSpace + 1);
    if (secondSpace == std::string_view::npos || line.find(' ', secondSpace + 1) != line.npos) {
        return Refuse(400, "malformed request line");
    }
    const std::string_view method = line.substr(0, firstSpace);
    const std::string_view target = line.substr(firstSpace + 1, secondSpace - firstSpace - 1);
    const std::string_view version = line.substr(secondSpace + 1);
    if (!IsToken(method) || !IsTargetText(target)) {
        return Refuse(400, "malformed request line");
    }
    if (target.size() > limits.maxTargetBytes) {
        return Refuse(414, "the request target is too long");
    }
    if (version == "HTTP/1.1" || version == "HTTP/1.0") {
        request.minorVersion = version.back() - '0';
    } else if (version.size() == 8 && version.substr(0, 5) == "HTTP/" && version[6] == '.' &&
               std::isdigit(static_cast<unsigned char>(version[5])) &&
               std::isdigit(static_cast<unsigned char>(version[7]))) {
        return Refuse(505, "only HTTP/1.0 and HTTP/1.1 are served");
    } else {
        return Refuse(400, "malformed request line");
    }
    auto path = PathOf(target);
    if (!path) {
        return Refuse(400, "malformed request target");
    }
    request.method = method;
    request.path = std::move(*path);
    return std::nullopt;
}

std::optional<Malformed> ReadHeaderLine(std::string_view line, Request& request) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || !IsToken(line.substr(0, colon))) {
        // A line that starts with a blank continues the one before: obsolete, and refused.
        return Refuse(400, "malformed header line");
    }
    const std::string_view value = Trim(line.substr(colon + 1));
    if (!IsFieldValue(value)) {
        return Refuse(400, "a header value holds a control character");
    }
    request.headers.push_back(Header{std::string(line.substr(0, colon)), std::string(value)});
    return std::nullopt;
}

// How the body is framed, from the headers.
struct Framing {
    bool chunked = false;
    std::size_t length = 0;
    bool expectsContinue = false;
};

std::variant<Framing, Malformed> ReadFraming(Request& request, const Limits& limits) {
    Framing framing;
    bool closing = false;
    bool keepingAlive = false;
    ForEachListItem(request.headers, "Connection", [&](std::string_view option) {
        closing = closing || SameName(option, "close");
        keepingAlive = keepingAlive || SameName(option, "keep-alive");
    });
    request.keepAlive = !closing && (request.minorVersion == 1 || keepingAlive);

    std::optional<std::uint64_t> length;
    bool lengthsDiffer = false;
    bool lengthMalformed = false;
    for (const Header& header : request.headers) {
        if (!SameName(header.name, "Content-Length")) {
            continue;
        }
        std::uint64_t value = 0;
        const char* end = header.value.data() + header.value.size();
        const auto [stop, error] = std::from_chars(header.value.data(), end, value);
        if (header.value.empty() || error != std::errc() || stop != end) {
            lengthMalformed = true;
        } else if (length && *length != value) {
            lengthsDiffer = true;
        }
        length = value;
    }
    std::vector<std::string_view> codings;
    ForEachListItem(request.headers, "Transfer-Encoding",
                    [&](std::string_view coding) { codings.push_back(coding); });
    const bool hasTransferEncoding = request.Find("Transfer-Encoding") != nullptr;
    if (lengthMalformed || lengthsDiffer) {
        return Refuse(400, "malformed Content-Length");
    }
    if (hasTransferEncoding && (length || request.minorVersion == 0)) {
        return Refuse(400, "Transfer-Encoding is taken only alone and over HTTP/1.1");
    }
    if (hasTransferEncoding) {
        if (codings.size() != 1 || !SameName(codings.front(), "chunked")) {
            return Refuse(501, "the only transfer coding taken is chunked");
        }
        framing.chunked = true;
    } else if (length) {
        if (*length > limits.maxBodyBytes) {
            return Refuse(413,
                          "the body is over " + std::to_string(limits.maxBodyBytes) + " bytes");
        }
        framing.length = static_cast<std::size_t>(*length);
    }
    ForEachListItem(request.headers, "Expect", [&](std::string_view expectation) {
        framing.expectsContinue = framing.expectsContinue || SameName(expectation, "100-continue");
    });
    return framing;
}

// The chunked body from bytes[start...], decoded into body: the position after it, or
// NeedMore, or a refusal.
std::variant<std::size_t, NeedMore, Malformed> ReadChunks(std::string_view bytes, std::size_t start,
                                                          const Limits& limits,
                                                          const NeedMore& waiting,
                                                          std::string& body) {
    const std::size_t maxWire = kChunkOverhead * limits.maxBodyBytes + kMaxChunkLine;
    LineReader lines(bytes, start);
    for (;;) {
        if (lines.Position() - start > maxWire) {
            return Refuse(413,
                          "the body is over " + std::to_string(limits.maxBodyBytes) + " bytes");
        }
        const std::size_t lineStart = lines.Position();
        const auto sizeLine = lines.Next();
        if (!sizeLine) {
            if (lines.Unread() > kMaxChunkLine) {
                return Refuse(400, "malformed chunk size");
            }
            return waiting;
        }
        if (lines.Position() - lineStart > kMaxChunkLine) {
            return Refuse(400, "malformed chunk size");
        }
        const std::size_t digits =
            std::min(sizeLine->find_first_not_of("0123456789abcdefABCDEF"), sizeLine->size());
        std::uint64_t size = 0;
        const auto [stop, error] =
            std::from_chars(sizeLine->data(), sizeLine->data() + digits, size, 16);
        const std::string_view rest = Trim(sizeLine->substr(digits));
        if (digits == 0 || error != std::errc() || stop != sizeLine->data() + digits ||
            (!rest.empty() && rest.front() != ';') || !IsFieldValue(rest)) {
            return Refuse(400, "malformed chunk size");
        }
        if (size == 0) {
            break;
        }
        if (size > limits.maxBodyBytes - body.size()) {
            return Refuse(413,
                          "the body is over " + std::to_string(limits.maxBodyBytes) + " bytes");
        }
        const std::size_t dataStart = lines.Position();
        const std::size_t dataEnd = dataStart + static_cast<std::size_t>(size);
        if (bytes.size() < dataEnd + 1) {
            return waiting;
        }
        std::size_t next = 0;
        if (bytes.substr(dataEnd, 2) == "\r\n") {
            next = dataEnd + 2;
        } else if (bytes[dataEnd] == '\n') {
            next = dataEnd + 1;
        } else if (bytes[dataEnd] == '\r' && bytes.size() == dataEnd + 1) {
            return waiting;
        } else {
            return Refuse(400, "a chunk is longer than its size");
        }
        body.append(bytes.substr(dataStart, static_cast<std::size_t>(size)));
        lines = LineReader(bytes, next);
    }
    // Trailer lines end with an empty one; they are read past and not kept.
    const std::size_t trailersStart = lines.Position();
    for (;;) {
        const auto trailer = lines.Next();
        if (!trailer) {
            if (lines.Unread() + (lines.Position() - trailersStart) > limits.maxHeadBytes) {
                return Refuse(431, "the trailers are too large");
            }
            return waiting;
        }
        if (lines.Position() - trailersStart > limits.maxHeadBytes) {
            return Refuse(431, "the trailers are too large");
        }
        if (trailer->empty()) {
            return lines.Position();
        }
    }
}

}  // namespace

ParseResult ParseRequest(std::string_view bytes, const Limits& limits) {
    std::size_t start = 0;
    while (start < bytes.size() && (bytes[start] == '\n' || bytes.substr(start, 2) == "\r\n")) {
        start += bytes[start] == '\n' ? 1 : 2;
        if (start > limits.maxHeadBytes) {
            return Refuse(400, "malformed request line");
        }
    }
    if (start < bytes.size() && bytes[start] == '\r' && start + 1 == bytes.size()) {
        return NeedMore{};
    }

    LineReader lines(bytes, start);
    const std::size_t maxRequestLine = limits.maxTargetBytes + 64;
    Request request;
    const auto requestLine = lines.Next();
    if (!requestLine) {
        return lines.Unread() > maxRequestLine
                   ? ParseResult(Refuse(414, "the request line is too long"))
                   : ParseResult(NeedMore{});
    }
    if (requestLine->find('\r') != std::string_view::npos) {
        return Refuse(400, "a bare CR in the request line");
    }
    if (auto refused = ReadRequestLine(*requestLine, limits, request)) {
        return *refused;
    }

    for (;;) {
        const auto line = lines.Next();
        const std::size_t headBytes = lines.Position() - start;
        if (!line) {
            if (headBytes + lines.Unread() > limits.maxHeadBytes) {
                return Refuse(431, "the request's headers are too large");
            }
            return NeedMore{};
        }
        if (headBytes > limits.maxHeadBytes) {
            return Refuse(431, "the request's headers are too large");
        }
        if (line->empty()) {
            break;
        }
        if (request.headers.size() == limits.maxHeaderLines) {
            return Refuse(431, "the request has too many header lines");
        }
        if (line->find('\r') != std::string_view::npos) {
            return Refuse(400, "a bare CR in a header line");
        }
        if (auto refused = ReadHeaderLine(*line, request)) {
            return *refused;
        }
    }

    auto framing = ReadFraming(request, limits);
    if (auto* refused = std::get_if<Malformed>(&framing)) {
        return *refused;
    }
    const Framing& frame = std::get<Framing>(framing);
    const NeedMore waiting{true, frame.expectsContinue};
    const std::size_t bodyStart = lines.Position();
    if (frame.chunked) {
        auto end = ReadChunks(bytes, bodyStart, limits, waiting, request.body);
        if (auto* refused = std::get_if<Malformed>(&end)) {
            return *refused;
        }
        if (auto* more = std::get_if<NeedMore>(&end)) {
            return *more;
        }
        const std::size_t consumed = std::get<std::size_t>(end);
        return Parsed{std::move(request), consumed};
    }
    if (bytes.size() - bodyStart < frame.length) {
        return waiting;
    }
    request.body = std::string(bytes.substr(bodyStart, frame.length));
    return Parsed{std::move(request), bodyStart + frame.length};
}

}  // namespace ladder::http
