#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "sudoku/grid.h"

namespace puzzle_engine {

// A game the server opened: its id and the puzzle to solve.
struct LadderGame {
    std::string gameId;
    sudoku::Grid puzzle;
};

// The version the server's operator announces and where to download it; both are "" until
// the operator sets them.
struct LadderRelease {
    std::string version;
    std::string download;
};

// The server address requests go to: QUILLMARK_LADDER_URL (ladder::kServerUrlVariable) as it
// is now, or ladder::kDefaultServerUrl when it is unset or empty; without a trailing '/'.
std::string LadderServerUrl();

// The file of certificate authorities trusted for https:// besides the system's:
// QUILLMARK_LADDER_CA_FILE (ladder::kCaFileVariable) as it is now, or "" when unset.
std::string LadderCaFile();

// The engine's side of the ladder protocol (ladder_protocol/protocol.h): each call is one
// synchronous HTTP request with a JSON body to LadderServerUrl(), read afresh every time.
// Redirections are never followed. Nothing raises: where a call has no result it returns an
// error code instead, either one the server gave (ladder::codes) or one of the engine's own
// (codes::kServerUnreachable, kServerBusy, kBadServerAnswer, kUntrustedServer,
// kBadServerAddress, kTextNotUtf8 in puzzle_engine/error_codes.h).
class LadderClient {
public:
    // The largest answer body taken; a longer one counts as codes::kBadServerAnswer.
    static constexpr std::size_t kMaxAnswerBytes = 64 * 1024;

    // timeoutMs bounds each request as a whole, connecting included. 0 counts as 1 ms: curl
    // would read 0 as no limit, and the program waits on these calls.
    explicit LadderClient(std::uint32_t timeoutMs) : timeoutMs_(timeoutMs) {}

    // Opens a game for the account. The server's puzzle breaks no rule. Codes: the server's
    // ERROR_NOT_ENABLED_ONLINE (unknown user, wrong password or not enabled), or the engine's.
    std::variant<LadderGame, std::string> Start(const std::string& user,
                                                const std::string& password) const;

    // Hands in grid as the solution of the game: the official time in whole seconds, or one of
    // the server's ERRORE_NON_LADDER, ERRORE_NON_COMPLETATA, ERROR_NOT_ENABLED_ONLINE or an
    // engine code.
    std::variant<std::uint64_t, std::string> Finish(const std::string& user,
                                                    const std::string& password,
                                                    const std::string& gameId,
                                                    const sudoku::Grid& grid) const;

    // Gives the game up: "" when the server took it, else ERRORE_NON_LADDER,
    // ERROR_NOT_ENABLED_ONLINE or an engine code.
    std::string Forfeit(const std::string& user, const std::string& password,
                        const std::string& gameId) const;

    // The release the server announces; nothing when there is no answer or it is not the
    // protocol's.
    std::optional<LadderRelease> Release() const;

private:
    std::uint32_t timeoutMs_;
};

}  // namespace puzzle_engine
