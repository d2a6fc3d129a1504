#include "ladder_server/http/head_check.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <optional>
#include <vector>

#include "ladder_server/http/message.h"

namespace ladder::http {

namespace {

constexpr std::string_view kBlanks = " \t";

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

// Calls each(item) for every comma-separated item of a list value, trimmed; empty ones skipped.
template <class Each>
void ForEachListItem(std::string_view list, Each each) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        const std::string_view item = Trim(list.substr(0, comma));
        if (!item.empty()) {
            each(item);
        }
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
}

Malformed Refuse(int status, std::string message) {
    return Malformed{status, std::move(message)};
}

// What the header lines say of the request's framing, gathered line by line.
struct Framing {
    int minorVersion = 1;
    std::optional<std::uint64_t> length;
    bool lengthMalformed = false;
    bool lengthsDiffer = false;
    bool hasTransferEncoding = false;
    std::vector<std::string_view> codings;
    int hosts = 0;
    bool expectsContinue = false;
    bool unknownExpectation = false;
};

// "METHOD SP target SP HTTP/1.x"; a refusal when it is not that.
std::optional<Malformed> CheckRequestLine(std::string_view line, const Limits& limits,
                                          Framing& framing) {
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
        framing.minorVersion = version.back() - '0';
    } else if (version.size() == 8 && version.substr(0, 5) == "HTTP/" && version[6] == '.' &&
               std::isdigit(static_cast<unsigned char>(version[5])) &&
               std::isdigit(static_cast<unsigned char>(version[7]))) {
        return Refuse(505, "only HTTP/1.0 and HTTP/1.1 are served");
    } else {
        return Refuse(400, "malformed request line");
    }
    if (PathOfTarget(target).empty()) {
        return Refuse(400, "malformed request target");
    }
    return std::nullopt;
}

std::optional<Malformed> CheckHeaderLine(std::string_view line, Framing& framing) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || !IsToken(line.substr(0, colon))) {
        // A line that starts with a blank continues the one before: obsolete, and refused.
        return Refuse(400, "malformed header line");
    }
    const std::string_view name = line.substr(0, colon);
    const std::string_view value = Trim(line.substr(colon + 1));
    if (!IsFieldValue(value)) {
        return Refuse(400, "a header value holds a control character");
    }
    if (SameName(name, "Content-Length")) {
        std::uint64_t length = 0;
        const auto [stop, error] =
            std::from_chars(value.data(), value.data() + value.size(), length);
        if (value.empty() || error != std::errc() || stop != value.data() + value.size()) {
            framing.lengthMalformed = true;
        } else if (framing.length && *framing.length != length) {
            framing.lengthsDiffer = true;
        }
        framing.length = length;
    } else if (SameName(name, "Transfer-Encoding")) {
        framing.hasTransferEncoding = true;
        ForEachListItem(value, [&](std::string_view coding) { framing.codings.push_back(coding); });
    } else if (SameName(name, "Host")) {
        ++framing.hosts;
    } else if (SameName(name, "Expect")) {
        ForEachListItem(value, [&](std::string_view expectation) {
            const bool known = SameName(expectation, "100-continue");
            framing.expectsContinue = framing.expectsContinue || known;
            framing.unknownExpectation = framing.unknownExpectation || !known;
        });
    }
    return std::nullopt;
}

std::variant<HeadChecked, Malformed> Conclude(const Framing& framing, const Limits& limits) {
    HeadChecked head;
    if (framing.lengthMalformed || framing.lengthsDiffer) {
        return Refuse(400, "malformed Content-Length");
    }
    if (framing.hasTransferEncoding && (framing.length || framing.minorVersion == 0)) {
        return Refuse(400, "Transfer-Encoding is taken only alone and over HTTP/1.1");
    }
    if (framing.hasTransferEncoding) {
        if (framing.codings.size() != 1 || !SameName(framing.codings.front(), "chunked")) {
            return Refuse(501, "the only transfer coding taken is chunked");
        }
        head.chunked = true;
    } else if (framing.length && *framing.length > limits.maxBodyBytes) {
        return Refuse(413, "the body is over " + std::to_string(limits.maxBodyBytes) + " bytes");
    }
    // RFC 9112: a request over HTTP/1.1 names its host once; over HTTP/1.0 at most once.
    if (framing.hosts > 1 || (framing.minorVersion == 1 && framing.hosts == 0)) {
        return Refuse(400, "the request must have one Host header");
    }
    if (framing.unknownExpectation) {
        return Refuse(417, "the only expectation met is 100-continue");
    }
    head.expectsContinue = framing.expectsContinue;
    return head;
}

}  // namespace

std::string PathOfTarget(std::string_view target) {
    if (target == "*") {
        return std::string(target);
    }
    const auto scheme = [&](std::string_view prefix) {
        return target.size() >= prefix.size() && SameName(target.substr(0, prefix.size()), prefix);
    };
    if (scheme("http://") || scheme("https://")) {
        const std::size_t authority = target.find("://") + 3;
        const std::size_t slash = target.find('/', authority);
        target = slash == std::string_view::npos ? std::string_view("/") : target.substr(slash);
    }
    if (target.empty() || target.front() != '/') {
        return {};
    }
    return std::string(target.substr(0, target.find_first_of("?#")));
}

HeadCheck CheckHead(std::string_view bytes, const Limits& limits) {
    std::size_t start = 0;
    while (start < bytes.size() && (bytes[start] == '\r' || bytes[start] == '\n')) {
        if (bytes[start] == '\n') {
            return Refuse(400, "a line ends in LF alone");
        }
        if (start + 1 == bytes.size()) {
            return NeedMore{};
        }
        if (bytes[start + 1] != '\n') {
            return Refuse(400, "a bare CR");
        }
        start += 2;
        if (start > limits.maxHeadBytes) {
            return Refuse(400, "malformed request line");
        }
    }

    const std::size_t maxRequestLine = limits.maxTargetBytes + 64;
    Framing framing;
    std::size_t position = start;
    std::size_t headerLines = 0;
    bool atRequestLine = true;
    for (;;) {
        const std::size_t lineFeed = bytes.find('\n', position);
        if (lineFeed == std::string_view::npos) {
            if (atRequestLine && bytes.size() - position > maxRequestLine) {
                return Refuse(414, "the request line is too long");
            }
            if (!atRequestLine && bytes.size() - start > limits.maxHeadBytes) {
                return Refuse(431, "the request's headers are too large");
            }
            return NeedMore{};
        }
        if (lineFeed == position || bytes[lineFeed - 1] != '\r') {
            return Refuse(400, "a line ends in LF alone");
        }
        const std::string_view line = bytes.substr(position, lineFeed - 1 - position);
        position = lineFeed + 1;
        if (line.find('\r') != std::string_view::npos) {
            return Refuse(400, "a bare CR");
        }
        if (atRequestLine) {
            if (auto refused = CheckRequestLine(line, limits, framing)) {
                return *refused;
            }
            atRequestLine = false;
            continue;
        }
        if (position - start > limits.maxHeadBytes) {
            return Refuse(431, "the request's headers are too large");
        }
        if (line.empty()) {
            break;
        }
        if (++headerLines > limits.maxHeaderLines) {
            return Refuse(431, "the request has too many header lines");
        }
        if (auto refused = CheckHeaderLine(line, framing)) {
            return *refused;
        }
    }
    auto concluded = Conclude(framing, limits);
    if (auto* refused = std::get_if<Malformed>(&concluded)) {
        return std::move(*refused);
    }
    HeadChecked head = std::get<HeadChecked>(concluded);
    head.start = start;
    head.end = position;
    return head;
}

}  // namespace ladder::http
