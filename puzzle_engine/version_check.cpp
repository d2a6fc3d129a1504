#include "puzzle_engine/version_check.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace puzzle_engine {

namespace {

// The numbers of a dotted version, each without its leading zeros, so that two numbers of any
// length compare by their length first and then digit by digit.
std::optional<std::vector<std::string_view>> DottedNumbers(std::string_view text) {
    std::vector<std::string_view> numbers;
    while (true) {
        const std::size_t dot = text.find('.');
        std::string_view number = text.substr(0, dot);
        if (number.empty() || !std::all_of(number.begin(), number.end(),
                                           [](char c) { return c >= '0' && c <= '9'; })) {
            return std::nullopt;
        }
        number.remove_prefix(std::min(number.find_first_not_of('0'), number.size()));
        numbers.push_back(number);
        if (dot == std::string_view::npos) {
            return numbers;
        }
        text.remove_prefix(dot + 1);
    }
}

std::strong_ordering CompareNumbers(std::string_view left, std::string_view right) {
    if (left.size() != right.size()) {
        return left.size() <=> right.size();
    }
    return left.compare(right) <=> 0;
}

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

struct CurlTextDeleter {
    void operator()(char* text) const { curl_free(text); }
};

// One part of a parsed address, or "" when it has none.
std::string UrlPart(CURLU* url, CURLUPart part) {
    char* raw = nullptr;
    if (curl_url_get(url, part, &raw, 0) != CURLUE_OK) {
        return {};
    }
    std::unique_ptr<char, CurlTextDeleter> owned(raw);
    return owned ? std::string(owned.get()) : std::string();
}

}  // namespace

std::optional<std::strong_ordering> CompareVersions(std::string_view left, std::string_view right) {
    auto leftNumbers = DottedNumbers(left);
    auto rightNumbers = DottedNumbers(right);
    if (!leftNumbers || !rightNumbers) {
        return std::nullopt;
    }
    const std::size_t count = std::max(leftNumbers->size(), rightNumbers->size());
    leftNumbers->resize(count);  // the missing numbers: empty, that is 0
    rightNumbers->resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (auto order = CompareNumbers((*leftNumbers)[i], (*rightNumbers)[i]); order != 0) {
            return order;
        }
    }
    return std::strong_ordering::equal;
}

bool IsWebAddress(std::string_view text) {
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 0x7f; })) {
        return false;
    }
    // Only the scheme the text spells counts: curl must not guess one for "example.org".
    std::string lower(text.substr(0, 8));
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    if (!lower.starts_with("http://") && !lower.starts_with("https://")) {
        return false;
    }
    // The host as written: curl, like browsers, would read "https:///path" as host "path".
    const std::size_t authority = text.find("://") + 3;
    if (authority == text.size() ||
        std::string_view("/?#").find(text[authority]) != std::string_view::npos) {
        return false;
    }
    std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
    const std::string owned(text);
    if (!url || curl_url_set(url.get(), CURLUPART_URL, owned.c_str(), 0) != CURLUE_OK) {
        return false;
    }
    const std::string scheme = UrlPart(url.get(), CURLUPART_SCHEME);
    return (scheme == "http" || scheme == "https") && !UrlPart(url.get(), CURLUPART_HOST).empty();
}

std::string UpdateAddress(std::string_view serverVersion, std::string_view download,
                          std::string_view own) {
    auto order = CompareVersions(serverVersion, own);
    if (!order || *order != std::strong_ordering::greater || !IsWebAddress(download)) {
        return {};
    }
    return std::string(download);
}

}  // namespace puzzle_engine
