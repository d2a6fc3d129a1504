#pragma once

// A plain HTTP client for the ladder server's tests: sends the protocol's requests and hands
// back the status with the parsed JSON answer.

#include <httplib.h>

#include <nlohmann/json.hpp>

#include <string>

#include "ladder_protocol/protocol.h"
#include "sudoku/grid.h"
#include "sudoku/solver.h"

namespace ladder_testing {

struct Reply {
    int status = 0;  // 0 when no answer came
    nlohmann::json body;

    // The "error" code of a refusal, or "" for an answer without one.
    std::string Error() const {
        return body.is_object() && body.contains("error") && body["error"].is_string()
                   ? body["error"].get<std::string>()
                   : std::string();
    }
};

class LadderTestClient {
public:
    LadderTestClient(const std::string& host, int port) : client_(host, port) {
        client_.set_read_timeout(60, 0);  // a start hashes a password, slowly under sanitizers
    }

    Reply PostText(const std::string& path, const std::string& body) {
        return Convert(client_.Post(path.c_str(), body, "application/json"));
    }
    Reply Post(const std::string& path, const nlohmann::json& body) {
        return PostText(path, body.dump());
    }
    Reply Get(const std::string& path) { return Convert(client_.Get(path.c_str())); }

    Reply Start(const std::string& user, const std::string& password) {
        return Post(ladder::paths::kStart, {{"user", user}, {"password", password}});
    }
    Reply Finish(const std::string& user, const std::string& gameId, const std::string& grid) {
        return Post(ladder::paths::kFinish,
                    {{"user", user}, {"password", ""}, {"game_id", gameId}, {"grid", grid}});
    }
    Reply Forfeit(const std::string& user, const std::string& gameId) {
        return Post(ladder::paths::kForfeit,
                    {{"user", user}, {"password", ""}, {"game_id", gameId}});
    }

private:
    static Reply Convert(const httplib::Result& result) {
        Reply reply;
        if (result) {
            reply.status = result->status;
            reply.body = nlohmann::json::parse(result->body, nullptr, false);
        }
        return reply;
    }

    httplib::Client client_;
};

// The solution of an 81-character puzzle as 81 digits; "" when it has none.
inline std::string SolutionOf(const std::string& puzzle) {
    const auto grid = sudoku::ParseLine(puzzle);
    const auto solution = grid ? sudoku::Solve(*grid) : std::nullopt;
    return solution ? sudoku::FormatLine(*solution, '0') : std::string();
}

}  // namespace ladder_testing
