#pragma once

// What the ladder keeps, behind an interface so the services do not depend on SQLite; the
// one backend is SqliteStore. Every member may be called from several threads at once and
// throws std::runtime_error (sqlite::Error for SQLite) when the storage fails.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ladder {

struct UserRecord {
    std::int64_t id = 0;
    std::string name;
    std::string passwordHash;  // libsodium's crypto_pwhash_str text
    std::string email;
    bool enabled = false;
};

enum class GameState { Open, Solved, Failed, Forfeited };

// The two classes a ladder game is dealt from.
enum class LadderLevel { Medium, Hard };

struct GameRecord {
    std::string id;
    std::int64_t userId = 0;
    std::string puzzle;    // 81 characters, '.' for an empty cell
    std::string solution;  // 81 digits
    LadderLevel level = LadderLevel::Medium;
    std::int64_t startedAtMs = 0;  // wall clock, milliseconds since the Unix epoch
    GameState state = GameState::Open;
};

struct Standing {
    std::string user;
    std::int64_t solved = 0;
    std::optional<std::int64_t> bestSeconds;  // nothing until a game is solved
};

struct VersionInfo {
    std::string version;
    std::string download;
};

class Store {
public:
    virtual ~Store() = default;

    // False, with nothing stored, when a user of that name exists.
    virtual bool AddUser(const UserRecord& user, std::int64_t nowMs) = 0;
    virtual std::optional<UserRecord> FindUser(std::string_view name) = 0;
    // False when there is no such user.
    virtual bool SetUserEnabled(std::string_view name, bool enabled) = 0;
    virtual bool SetUserPassword(std::string_view name, std::string_view passwordHash) = 0;
    // Every user, by name.
    virtual std::vector<UserRecord> Users() = 0;

    virtual void AddGame(const GameRecord& game) = 0;
    // The game of that id when it is open and belongs to the user of that name.
    virtual std::optional<GameRecord> FindOpenGame(std::string_view id,
                                                   std::string_view userName) = 0;
    // Closes an open game in state (not Open) at finishedAtMs, with the official time for a
    // solved game. False, with nothing changed, when the game is not open any more: of two
    // closings at once, exactly one succeeds.
    virtual bool CloseGame(std::string_view id, GameState state, std::int64_t finishedAtMs,
                           std::optional<std::int64_t> seconds) = 0;

    // Every user who has started a game: most solved first, then the best time, then name.
    virtual std::vector<Standing> Standings() = 0;

    // Empty texts until set.
    virtual VersionInfo Version() = 0;
    virtual void SetVersion(const VersionInfo& version) = 0;
};

}  // namespace ladder
