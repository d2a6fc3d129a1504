// Fuzz target: what reads a request off the wire (the head check, then Beast's parser fed the
// same bytes) takes any bytes without crashing, and what it reads keeps within its limits: a
// whole request takes no more bytes than it was given, gives the same request again from
// exactly those bytes, passed the head check and names its host as HTTP/1.1 asks; a refusal
// of the head check's is the parser's too, and every refusal has one of the statuses it may
// give.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ladder_server/http/head_check.h"
#include "ladder_server/http/request_parser.h"

namespace {

bool MayRefuseWith(int status) {
    switch (status) {
        case 400:
        case 413:
        case 414:
        case 417:
        case 431:
        case 501:
        case 505:
            return true;
        default:
            return false;
    }
}

std::size_t HeaderCount(const ladder::http::Request& request, std::string_view name) {
    std::size_t count = 0;
    for (const auto& header : request.headers) {
        count += ladder::http::SameName(header.name, name);
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ladder::http;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Limits limits;
    limits.maxHeadBytes = 512;
    limits.maxHeaderLines = 8;
    limits.maxTargetBytes = 64;
    limits.maxBodyBytes = 256;
    const HeadCheck head = CheckHead(bytes, limits);
    const ParseResult result = ParseRequest(bytes, limits);
    if (const auto* parsed = std::get_if<Parsed>(&result)) {
        const Request& request = parsed->request;
        if (parsed->consumed == 0 || parsed->consumed > size ||
            request.body.size() > limits.maxBodyBytes ||
            request.headers.size() > limits.maxHeaderLines || request.path.empty() ||
            !std::holds_alternative<HeadChecked>(head) || HeaderCount(request, "Host") > 1 ||
            (request.minorVersion == 1 && HeaderCount(request, "Host") != 1)) {
            std::abort();
        }
        const ParseResult again = ParseRequest(bytes.substr(0, parsed->consumed), limits);
        const auto* same = std::get_if<Parsed>(&again);
        if (same == nullptr || same->consumed != parsed->consumed ||
            same->request.body != request.body || same->request.path != request.path) {
            std::abort();
        }
    }
    if (const auto* refused = std::get_if<Malformed>(&head)) {
        const auto* malformed = std::get_if<Malformed>(&result);
        if (malformed == nullptr || malformed->status != refused->status) {
            std::abort();
        }
    }
    if (const auto* malformed = std::get_if<Malformed>(&result)) {
        if (!MayRefuseWith(malformed->status)) {
            std::abort();
        }
    }
    return 0;
}
