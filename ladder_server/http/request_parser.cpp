#include "ladder_server/http/request_parser.h"

#include <boost/beast/http/error.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>

#include <utility>

namespace ladder::http {

namespace {

namespace beast_http = boost::beast::http;

// Chunk framing (sizes, extensions, line ends) may take at most this many times the body's own
// bytes on the wire, and this much beside.
constexpr std::size_t kChunkOverhead = 4;
constexpr std::size_t kChunkSlack = 1024;

Malformed TooLarge(const Limits& limits) {
    return Malformed{413, "the body is over " + std::to_string(limits.maxBodyBytes) + " bytes"};
}

Malformed Refused(const boost::beast::error_code& error, const Limits& limits) {
    if (error == beast_http::error::body_limit) {
        return TooLarge(limits);
    }
    if (error == beast_http::error::header_limit) {
        return Malformed{431, "the request's headers are too large"};
    }
    if (error == beast_http::error::bad_chunk || error == beast_http::error::bad_chunk_extension) {
        return Malformed{400, "malformed chunked body"};
    }
    return Malformed{400, "malformed request"};
}

}  // namespace

ParseResult ParseRequest(std::string_view bytes, const Limits& limits) {
    HeadCheck checked = CheckHead(bytes, limits);
    if (auto* more = std::get_if<NeedMore>(&checked)) {
        return *more;
    }
    if (auto* refused = std::get_if<Malformed>(&checked)) {
        return std::move(*refused);
    }
    const HeadChecked head = std::get<HeadChecked>(checked);

    // A chunked body is gathered here rather than by Beast, so as to see where each chunk's
    // data ends: Beast waits for four bytes there before it looks at the CR LF that must follow,
    // and a chunk longer than its size is refused here as soon as its next byte is in.
    std::string chunkedBody;
    const char* chunkEnd = nullptr;  // just past the last chunk's data, until the next size line
    auto onChunkHeader = [&](std::uint64_t, boost::beast::string_view, boost::beast::error_code&) {
        chunkEnd = nullptr;
    };
    auto onChunkBody = [&](std::uint64_t remain, boost::beast::string_view data,
                           boost::beast::error_code&) {
        chunkedBody.append(data.data(), data.size());
        if (remain == data.size()) {
            chunkEnd = data.data() + data.size();
        }
        return data.size();
    };
    // Declared after the callbacks, which it keeps references to.
    beast_http::request_parser<beast_http::string_body> parser;
    parser.on_chunk_header(onChunkHeader);
    parser.on_chunk_body(onChunkBody);
    // The head is whole and within its limit already; Beast's own limit must not cut it short.
    parser.header_limit(static_cast<std::uint32_t>(head.end - head.start + 4));
    parser.body_limit(limits.maxBodyBytes);
    boost::beast::error_code error;
    std::string_view rest = bytes.substr(head.start);
    // Not eager: the first put stops after the head, so that its fields are taken before
    // trailers join them.
    std::size_t used = parser.put(boost::asio::buffer(rest.data(), rest.size()), error);
    if (error || !parser.is_header_done()) {
        return Refused(error, limits);
    }
    Request request;
    const auto& message = parser.get();
    request.method = std::string(message.method_string());
    request.path = PathOfTarget(message.target());
    const std::string_view target = message.target();
    const std::size_t mark = target.find('?');
    if (mark < target.find('#')) {
        request.query = std::string(target.substr(mark + 1, target.find('#') - mark - 1));
    }
    request.minorVersion = static_cast<int>(message.version() % 10);
    for (const auto& field : message) {
        request.headers.push_back(
            Header{std::string(field.name_string()), std::string(field.value())});
    }
    request.keepAlive = parser.keep_alive();

    parser.eager(true);
    const std::size_t maxWire = kChunkOverhead * limits.maxBodyBytes + kChunkSlack;
    // Waiting for more of the body, unless its framing has already taken more than it may.
    const auto moreOrTooLarge = [&]() -> ParseResult {
        if (head.chunked && bytes.size() - head.end > maxWire) {
            return TooLarge(limits);
        }
        if (chunkEnd != nullptr) {
            const std::string_view after(
                chunkEnd, static_cast<std::size_t>(bytes.data() + bytes.size() - chunkEnd));
            if ((!after.empty() && after[0] != '\r') || (after.size() > 1 && after[1] != '\n')) {
                return Malformed{400, "a chunk is longer than its size"};
            }
        }
        return NeedMore{true, head.expectsContinue};
    };
    while (!parser.is_done()) {
        rest.remove_prefix(used);
        if (head.chunked && bytes.size() - rest.size() - head.end > maxWire) {
            return TooLarge(limits);
        }
        if (rest.empty()) {
            return moreOrTooLarge();
        }
        used = parser.put(boost::asio::buffer(rest.data(), rest.size()), error);
        if (error == beast_http::error::need_more || (!error && used == 0)) {
            return moreOrTooLarge();
        }
        if (error) {
            return Refused(error, limits);
        }
    }
    rest.remove_prefix(used);
    request.body = head.chunked ? std::move(chunkedBody) : parser.release().body();
    return Parsed{std::move(request), bytes.size() - rest.size()};
}

}  // namespace ladder::http
