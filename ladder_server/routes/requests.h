#pragma once

// Reading the bodies of the ladder's POST requests: pure functions from the body text to a
// request or to the reason it is bad. They never throw, whatever the bytes.

#include <string>
#include <string_view>
#include <variant>

#include "sudoku/grid.h"

namespace ladder {

struct StartRequest {
    std::string user;
    std::string password;
};

struct FinishRequest {
    std::string user;
    std::string password;  // sent by the client, not checked again: the game id is the secret
    std::string gameId;    // any text; one that names no open game is refused later
    sudoku::Grid grid;
};

struct ForfeitRequest {
    std::string user;
    std::string password;
    std::string gameId;
};

// Why a body was refused, in a sentence that quotes no input.
struct BadRequest {
    std::string message;
};

template <class T>
using Parsed = std::variant<T, BadRequest>;

// Each takes a JSON object with the fields the protocol names, as strings; other fields are
// ignored. Malformed JSON, another top-level value, a missing field or one of another type
// is a BadRequest. A finish grid must be 81 characters "1"-"9", "." or "0"; one with empty
// cells is a well-formed request (the game then fails), one of another form is not.
Parsed<StartRequest> ParseStartRequest(std::string_view body);
Parsed<FinishRequest> ParseFinishRequest(std::string_view body);
Parsed<ForfeitRequest> ParseForfeitRequest(std::string_view body);

}  // namespace ladder
