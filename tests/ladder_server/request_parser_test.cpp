#include "ladder_server/http/request_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ladder::http {
namespace {

using namespace std::string_literals;

const Limits kLimits;

// The request, or the test fails.
Parsed Whole(const std::string& bytes) {
    ParseResult result = ParseRequest(bytes, kLimits);
    EXPECT_TRUE(std::holds_alternative<Parsed>(result)) << bytes;
    return std::holds_alternative<Parsed>(result) ? std::get<Parsed>(result) : Parsed{};
}

int StatusOf(const std::string& bytes) {
    const ParseResult result = ParseRequest(bytes, kLimits);
    const auto* malformed = std::get_if<Malformed>(&result);
    return malformed ? malformed->status : 0;
}

TEST(RequestParser, ReadsWholeRequestsAndWaitsForEveryPrefixOfOne) {
    const std::string json = R"({"user": "alice"})";
    const std::vector<std::string> requests = {
        "GET /v2/standings?x=1 HTTP/1.1\r\nHost: a\r\n\r\n",
        "\r\nGET /v2/version HTTP/1.0\r\nConnection: keep-alive\r\n\r\n",
        "POST http://ladder.example/v2/games/start HTTP/1.1\r\nHost: ladder.example\r\n"
        "Content-Length: 17\r\n\r\n" +
            json,
        "POST /v2/games/start HTTP/1.1\r\nHost: a\r\nTransfer-Encoding: chunked\r\n\r\n"
        "5;name=value\r\n{\"use\r\nc\r\nr\": \"alice\"}\r\n0\r\nTrailer: x\r\n\r\n",
    };
    for (const std::string& bytes : requests) {
        SCOPED_TRACE(bytes);
        for (std::size_t size = 0; size < bytes.size(); ++size) {
            ASSERT_TRUE(
                std::holds_alternative<NeedMore>(ParseRequest(bytes.substr(0, size), kLimits)))
                << size;
        }
        // What follows a request is the next one's and is left alone.
        const Parsed parsed = Whole(bytes + "GET / HTTP/1.1\r\n");
        EXPECT_EQ(parsed.consumed, bytes.size());
    }
    const Parsed standings = Whole(requests[0]);
    EXPECT_EQ(standings.request.method, "GET");
    EXPECT_EQ(standings.request.path, "/v2/standings");
    EXPECT_TRUE(standings.request.keepAlive);
    ASSERT_NE(standings.request.Find("host"), nullptr);
    EXPECT_EQ(*standings.request.Find("HOST"), "a");
    const Parsed version = Whole(requests[1]);
    EXPECT_EQ(version.request.minorVersion, 0);
    EXPECT_TRUE(version.request.keepAlive);
    EXPECT_FALSE(Whole("GET / HTTP/1.0\r\n\r\n").request.keepAlive);
    EXPECT_FALSE(
        Whole("GET / HTTP/1.1\r\nHost: a\r\nConnection: TE, Close\r\n\r\n").request.keepAlive);
    EXPECT_EQ(Whole(requests[2]).request.path, "/v2/games/start");
    EXPECT_EQ(Whole(requests[2]).request.body, json);
    EXPECT_EQ(Whole(requests[3]).request.body, json);
    EXPECT_EQ(Whole(requests[3]).request.Find("Trailer"), nullptr);  // read past, not kept
}

TEST(RequestParser, AsksForTheBodyOnlyWhenTheHeadIsInAndContinueWasExpected) {
    const std::string head = "POST /v2/games/start HTTP/1.1\r\nHost: a\r\nContent-Length: 10\r\n";
    const auto more = [](const std::string& bytes) {
        return std::get<NeedMore>(ParseRequest(bytes, kLimits));
    };
    EXPECT_FALSE(more(head).headComplete);
    EXPECT_TRUE(more(head + "\r\n").headComplete);
    EXPECT_FALSE(more(head + "\r\n").expectsContinue);
    EXPECT_TRUE(more(head + "Expect: 100-Continue\r\n\r\n").expectsContinue);
}

TEST(RequestParser, RefusesWhatAFrontCouldReadDifferentlyAndWhatIsTooLarge) {
    struct Case {
        const char* what;
        std::string bytes;
        int status;
    };
    const std::string post = "POST /v2/games/start HTTP/1.1\r\nHost: a\r\n";
    const std::vector<Case> cases = {
        {"a length and chunks", post + "Content-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n",
         400},
        {"two lengths", post + "Content-Length: 3\r\nContent-Length: 4\r\n\r\nabcd", 400},
        {"a signed length", post + "Content-Length: +3\r\n\r\nabc", 400},
        {"chunks over HTTP/1.0", "POST / HTTP/1.0\r\nTransfer-Encoding: chunked\r\n\r\n", 400},
        {"another coding", post + "Transfer-Encoding: gzip, chunked\r\n\r\n", 501},
        {"a folded header", "GET / HTTP/1.1\r\nHost: a\r\nA: b\r\n c\r\n\r\n", 400},
        {"a blank before the colon", "GET / HTTP/1.1\r\nHost : a\r\n\r\n", 400},
        {"a bare CR", "GET / HTTP/1.1\r\nHost: a\r\nA: b\rc\r\n\r\n", 400},
        {"a control character", "GET / HTTP/1.1\r\nHost: a\r\nA: b\0c\r\n\r\n"s, 400},
        {"a chunk longer than its size", post + "Transfer-Encoding: chunked\r\n\r\n2\r\nabc\r\n",
         400},
        {"no request line", "NONSENSE\r\n\r\n", 400},
        {"a relative target", "GET v2/version HTTP/1.1\r\n\r\n", 400},
        {"HTTP/2.0", "GET / HTTP/2.0\r\n\r\n", 505},
        {"a long target", "GET /" + std::string(kLimits.maxTargetBytes, 'a') + " HTTP/1.1\r\n\r\n",
         414},
        {"a long request line still coming", "GET /" + std::string(4 * kLimits.maxTargetBytes, 'a'),
         414},
        {"many header lines",
         "GET / HTTP/1.1\r\n" +
             [] {
                 std::string lines;
                 for (std::size_t i = 0; i <= kLimits.maxHeaderLines; ++i) {
                     lines += "X-" + std::to_string(i) + ": a\r\n";
                 }
                 return lines;
             }(),
         431},
        {"large headers still coming",
         "GET / HTTP/1.1\r\nX-Flood: " + std::string(kLimits.maxHeadBytes, 'a'), 431},
        {"a length over the body limit",
         post + "Content-Length: " + std::to_string(kLimits.maxBodyBytes + 1) + "\r\n\r\n", 413},
        {"no Host", "GET / HTTP/1.1\r\n\r\n", 400},
        {"two Hosts", "GET / HTTP/1.1\r\nHost: a\r\nHost: b\r\n\r\n", 400},
        {"two Hosts over HTTP/1.0", "GET / HTTP/1.0\r\nHost: a\r\nHost: a\r\n\r\n", 400},
        {"a line ending in LF alone", "GET / HTTP/1.1\r\nHost: a\n\r\n", 400},
        {"a request line ending in LF alone", "GET / HTTP/1.0\n\r\n", 400},
        {"an empty line of LF alone before the request", "\nGET / HTTP/1.0\r\n\r\n", 400},
        {"a chunk size line ending in LF alone",
         post + "Transfer-Encoding: chunked\r\n\r\n3\nabc\r\n0\r\n\r\n", 400},
        {"a chunk ending in LF alone",
         post + "Transfer-Encoding: chunked\r\n\r\n3\r\nabc\n0\r\n\r\n", 400},
        {"a trailer ending in LF alone",
         post + "Transfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\nA: b\nC: d\r\n\r\n", 400},
        {"an unknown expectation", post + "Expect: 100-continue, fly\r\n\r\n", 417},
        {"chunks over the body limit",
         post + "Transfer-Encoding: chunked\r\n\r\n4001\r\n" + std::string(0x4001, 'a'), 413},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StatusOf(c.bytes), c.status) << c.what;
    }
}

}  // namespace
}  // namespace ladder::http
