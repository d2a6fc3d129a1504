// Reading request bodies: what each route takes, and every way a body can be bad.

#include "ladder_server/routes/requests.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using ladder::BadRequest;
using ladder::ParseFinishRequest;
using ladder::ParseForfeitRequest;
using ladder::ParseStartRequest;

const std::string kSolved =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

// The message of a refused body, or "" when it was taken.
template <class T>
std::string Refusal(const ladder::Parsed<T>& parsed) {
    const auto* bad = std::get_if<BadRequest>(&parsed);
    return bad != nullptr ? bad->message : std::string();
}

TEST(RequestsTest, StartTakesUserAndPasswordAndIgnoresOtherFields) {
    const auto parsed =
        ParseStartRequest(R"({"user": "alice", "password": "p\u00e4ss \"word\"", "extra": [1]})");
    ASSERT_EQ(Refusal(parsed), "");
    const auto& request = std::get<ladder::StartRequest>(parsed);
    EXPECT_EQ(request.user, "alice");
    EXPECT_EQ(request.password, "p\xc3\xa4ss \"word\"");
}

TEST(RequestsTest, MalformedJsonOrAnotherTopLevelValueIsRefused) {
    for (const char* body :
         {"", " ", "{", R"({"user": "a", "password": "b")",
          R"({"user": "a", "password": "b"} trailing)", "[]", "\"text\"", "42", "null",
          "{'user': 'a'}", "{\"user\": \"\xff\", \"password\": \"b\"}"}) {
        SCOPED_TRACE(body);
        EXPECT_NE(Refusal(ParseStartRequest(body)), "");
        EXPECT_NE(Refusal(ParseFinishRequest(body)), "");
        EXPECT_NE(Refusal(ParseForfeitRequest(body)), "");
    }
    EXPECT_EQ(Refusal(ParseStartRequest("[]")), "the body is not a JSON object");
    EXPECT_EQ(Refusal(ParseStartRequest("{")), "the body is not valid JSON");
}

TEST(RequestsTest, MissingFieldsAndWrongTypesAreNamed) {
    EXPECT_EQ(Refusal(ParseStartRequest(R"({"password": "b"})")), "missing field \"user\"");
    EXPECT_EQ(Refusal(ParseStartRequest(R"({"user": "a"})")), "missing field \"password\"");
    for (const char* value : {"1", "null", "true", "[\"a\"]", "{\"a\": 1}"}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(Refusal(ParseStartRequest(std::string(R"({"user": )") + value +
                                            R"(, "password": "b"})")),
                  "field \"user\" must be a string");
    }
    EXPECT_EQ(Refusal(ParseForfeitRequest(R"({"user": "a", "password": "b"})")),
              "missing field \"game_id\"");
    EXPECT_EQ(Refusal(ParseForfeitRequest(R"({"user": "a", "password": "b", "game_id": 7})")),
              "field \"game_id\" must be a string");
    EXPECT_EQ(Refusal(ParseFinishRequest(R"({"user": "a", "game_id": "x", "grid": "1"})")),
              "missing field \"password\"");
}

TEST(RequestsTest, FinishReadsTheGridWithEitherBlank) {
    std::string grid = kSolved;
    grid[0] = '.';
    grid[80] = '0';
    const auto parsed = ParseFinishRequest(R"({"user": "alice", "password": "", "game_id": "ab",)"
                                           R"( "grid": ")" +
                                           grid + "\"}");
    ASSERT_EQ(Refusal(parsed), "");
    const auto& request = std::get<ladder::FinishRequest>(parsed);
    EXPECT_EQ(request.user, "alice");
    EXPECT_EQ(request.gameId, "ab");
    EXPECT_EQ(request.grid.At(0, 0), 0);
    EXPECT_EQ(request.grid.At(0, 1), 3);
    EXPECT_EQ(request.grid.At(8, 8), 0);
    EXPECT_EQ(sudoku::FilledCount(request.grid), 79);
}

TEST(RequestsTest, FinishRefusesAGridOfAnotherShape) {
    const auto finish = [](const std::string& grid) {
        return ParseFinishRequest(R"({"user": "a", "password": "", "game_id": "x", "grid": ")" +
                                  grid + "\"}");
    };
    EXPECT_EQ(Refusal(finish(kSolved)), "");
    std::string letter = kSolved;
    letter[0] = 'x';
    std::string blank = kSolved;
    blank[0] = ' ';
    std::string escapedLineEnd = kSolved;  // 81 characters once JSON is read, one a line end
    escapedLineEnd.replace(40, 1, "\\n");
    for (const std::string& grid :
         {kSolved.substr(0, 80), kSolved + "1", std::string(), letter, blank, escapedLineEnd}) {
        SCOPED_TRACE(grid);
        EXPECT_NE(Refusal(finish(grid)).find("\"grid\""), std::string::npos);
    }
    EXPECT_EQ(Refusal(ParseFinishRequest(
                  R"({"user": "a", "password": "", "game_id": "x", "grid": [1, 2]})")),
              "field \"grid\" must be a string");
}

TEST(RequestsTest, TextsMayHoldAnyCharacterJsonCanCarry) {
    const auto parsed = ParseForfeitRequest(
        R"({"user": "a\u0000b", "password": "\ud83d\ude00", "game_id": "\/x"})");
    ASSERT_EQ(Refusal(parsed), "");
    const auto& request = std::get<ladder::ForfeitRequest>(parsed);
    EXPECT_EQ(request.user, std::string("a\0b", 3));
    EXPECT_EQ(request.password, "\xf0\x9f\x98\x80");
    EXPECT_EQ(request.gameId, "/x");
}

}  // namespace
