#include "ladder_server/routes/standings_request.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "ladder_server/service/user_name.h"

namespace ladder {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<std::string> Decode(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            decoded += ' ';
        } else if (text[i] != '%') {
            decoded += text[i];
        } else {
            const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
            const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        }
    }
    return decoded;
}

// A decimal number from 0 to 2^63 - 1, digits only: no sign, no blank.
std::optional<std::int64_t> ReadCount(std::string_view text) {
    std::int64_t value = 0;
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

BadRequest Bad(std::string message) {
    return BadRequest{std::move(message)};
}

std::string CursorOf(const Standing& row) {
    return FormatStandingKey(StandingKey{row.solved, row.bestSeconds, row.user});
}

}  // namespace

std::optional<std::vector<std::pair<std::string, std::string>>> ParseQueryString(
    std::string_view query) {
    std::vector<std::pair<std::string, std::string>> pairs;
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        if (pair.empty()) {
            continue;
        }
        const std::size_t equals = pair.find('=');
        auto name = Decode(pair.substr(0, equals));
        auto value =
            Decode(equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1));
        if (!name || !value) {
            return std::nullopt;
        }
        pairs.emplace_back(std::move(*name), std::move(*value));
    }
    return pairs;
}

std::string EncodeQueryValue(std::string_view text) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            std::string_view("-._~").find(c) != std::string_view::npos) {
            encoded += c;
        } else {
            encoded.append({'%', kHex[byte >> 4], kHex[byte & 15]});
        }
    }
    return encoded;
}

std::string FormatStandingKey(const StandingKey& key) {
    return std::to_string(key.solved) + '.' +
           (key.bestSeconds ? std::to_string(*key.bestSeconds) : std::string()) + '.' + key.user;
}

std::optional<StandingKey> ParseStandingKey(std::string_view text) {
    const std::size_t first = text.find('.');
    const std::size_t second = first == std::string_view::npos ? first : text.find('.', first + 1);
    if (second == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view user = text.substr(second + 1);
    if (user.empty() || user.size() > kMaxUserNameBytes ||
        std::any_of(user.begin(), user.end(), [](char c) {
            const auto byte = static_cast<unsigned char>(c);
            return byte < 0x20 || byte == 0x7f;
        })) {
        return std::nullopt;
    }
    const auto solved = ReadCount(text.substr(0, first));
    const std::string_view bestText = text.substr(first + 1, second - first - 1);
    const auto best = bestText.empty() ? std::nullopt : ReadCount(bestText);
    if (!solved || (!bestText.empty() && !best)) {
        return std::nullopt;
    }
    return StandingKey{*solved, best, std::string(user)};
}

Parsed<StandingsQuery> ParseStandingsQuery(std::string_view query) {
    const auto pairs = ParseQueryString(query);
    if (!pairs) {
        return Bad("the query holds a malformed %-escape");
    }
    StandingsQuery read;
    read.limit = kDefaultStandingsRows;
    bool limitGiven = false;
    bool whereGiven = false;
    for (const auto& [name, value] : *pairs) {
        if (name == "limit") {
            if (limitGiven) {
                return Bad("limit is given twice");
            }
            limitGiven = true;
            const auto limit = ReadCount(value);
            if (!limit || *limit < 1 || *limit > static_cast<std::int64_t>(kMaxStandingsRows)) {
                return Bad("limit must be a number from 1 to " + std::to_string(kMaxStandingsRows));
            }
            read.limit = static_cast<std::size_t>(*limit);
            continue;
        }
        const bool after = name == "after";
        if (!after && name != "before" && name != "player") {
            return Bad("unknown parameter: the standings take limit, after, before and player");
        }
        if (whereGiven) {
            return Bad("give at most one of after, before and player, once");
        }
        whereGiven = true;
        if (name == "player") {
            if (!IsValidUserName(value)) {
                return Bad("player must be a name of 1 to 32 letters, digits, '.', '_' or '-'");
            }
            read.from = StandingsQuery::From::Around;
            read.player = value;
            continue;
        }
        auto key = ParseStandingKey(value);
        if (!key) {
            return Bad(name + " must be a cursor <solved>.<best_seconds>.<user>");
        }
        read.from = after ? StandingsQuery::From::After : StandingsQuery::From::Before;
        read.key = std::move(*key);
    }
    return read;
}

PageCursors CursorsOf(const StandingsPage& page) {
    PageCursors cursors;
    if (page.rows.empty()) {
        return cursors;
    }
    if (page.earlier) {
        cursors.previous = CursorOf(page.rows.front());
    }
    if (page.later) {
        cursors.next = CursorOf(page.rows.back());
    }
    return cursors;
}

std::string EntityTag(std::string_view body) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : body) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3u;
    }
    std::array<char, 16> hex{};
    const auto [end, error] = std::to_chars(hex.data(), hex.data() + hex.size(), hash, 16);
    std::string digits(hex.data(), end);
    return '"' + std::string(16 - digits.size(), '0') + digits + '"';
}

bool NoneMatchNames(std::string_view ifNoneMatch, std::string_view tag) {
    const std::string_view opaque =
        tag.size() >= 2 && tag.front() == '"' && tag.back() == '"' ? tag : std::string_view();
    std::size_t at = 0;
    const auto skipBlanksAndCommas = [&] {
        while (at < ifNoneMatch.size() &&
               (ifNoneMatch[at] == ' ' || ifNoneMatch[at] == '\t' || ifNoneMatch[at] == ',')) {
            ++at;
        }
    };
    for (skipBlanksAndCommas(); at < ifNoneMatch.size(); skipBlanksAndCommas()) {
        if (ifNoneMatch[at] == '*') {
            return true;
        }
        if (ifNoneMatch.substr(at, 2) == "W/") {
            at += 2;
        }
        if (at >= ifNoneMatch.size() || ifNoneMatch[at] != '"') {
            return false;
        }
        const std::size_t close = ifNoneMatch.find('"', at + 1);
        if (close == std::string_view::npos) {
            return false;
        }
        if (!opaque.empty() && ifNoneMatch.substr(at, close + 1 - at) == opaque) {
            return true;
        }
        at = close + 1;
    }
    return false;
}

}  // namespace ladder
