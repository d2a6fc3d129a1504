// Fuzz target: the HTTP request parser takes any bytes without crashing, and what it reads
// keeps within its limits: a whole request takes no more bytes than it was given, the same
// request again from exactly those bytes, and a refusal has one of the statuses it may give.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ladder_server/http/request_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ladder::http;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Limits limits;
    limits.maxHeadBytes = 512;
    limits.maxHeaderLines = 8;
    limits.maxTargetBytes = 64;
    limits.maxBodyBytes = 256;
    const ParseResult result = ParseRequest(bytes, limits);
    if (const auto* parsed = std::get_if<Parsed>(&result)) {
        const Request& request = parsed->request;
        if (parsed->consumed == 0 || parsed->consumed > size ||
            request.body.size() > limits.maxBodyBytes ||
            request.headers.size() > limits.maxHeaderLines || request.path.empty()) {
            std::abort();
        }
        const ParseResult again = ParseRequest(bytes.substr(0, parsed->consumed), limits);
        const auto* same = std::get_if<Parsed>(&again);
        if (same == nullptr || same->consumed != parsed->consumed ||
            same->request.body != request.body || same->request.path != request.path) {
            std::abort();
        }
    }
    if (const auto* malformed = std::get_if<Malformed>(&result)) {
        switch (malformed->status) {
            case 400:
            case 413:
            case 414:
            case 431:
            case 501:
            case 505:
                break;
            default:
                std::abort();
        }
    }
    return 0;
}
