#pragma once

// What the ladder keeps, behind an interface so the services do not depend on a database:
// SqliteStore keeps it in one file (the default, nothing to set up), PostgresStore in a
// PostgreSQL database that several server processes on several machines share. Every member
// may be called from several threads at once and throws std::runtime_error (sqlite::Error,
// pqxx's errors) when the storage fails or cannot be reached; it never answers from a guess.
//
// Every time is stamped by the store from its own clock, in milliseconds since the Unix
// epoch: for SQLite the server's wall clock, for PostgreSQL the database server's, so the
// servers sharing it time games by one clock however their own clocks differ.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ladder_server/store/connection_pool.h"
#include "ladder_server/store/login_failures.h"

namespace ladder {

struct UserRecord {
    std::int64_t id = 0;  // given by the store
    std::string name;
    std::string passwordHash;  // libsodium's crypto_pwhash_str text
    std::string email;
    bool enabled = false;
    std::int64_t createdAtMs = 0;  // stamped by the store
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
    std::int64_t startedAtMs = 0;  // stamped by the store
    GameState state = GameState::Open;
    std::optional<std::int64_t> finishedAtMs;  // once closed
    std::optional<std::int64_t> seconds;       // the official time of a solved game
};

// An open game, and whether its owner may still play online: an account disabled after the
// start cannot finish or forfeit.
struct OpenGame {
    GameRecord game;
    bool ownerEnabled = false;
};

// A player's row of the standings. Players are ranked by most solved, then the best time,
// then name in byte order; everyone who has started a game has a row, disabled or not.
struct Standing {
    std::string user;
    std::int64_t solved = 0;
    std::optional<std::int64_t> bestSeconds;  // nothing until a game is solved
    // 1 + the players ranked ahead with more solved or a better time: players with the same
    // solved and best time share a place, and the next place skips as many ("1, 2, 2, 4").
    std::int64_t place = 0;

    bool operator==(const Standing&) const = default;
};

// Where a player stands in the ranking order: what a page of the standings is read after or
// before. Need not be a player's current row; any values order between the rows.
struct StandingKey {
    std::int64_t solved = 0;
    std::optional<std::int64_t> bestSeconds;
    std::string user;
};

// Which page of the standings to read: the first rows, the rows right after or right before
// a key, or the rows around a player's own (the player in the middle where the list allows).
struct StandingsQuery {
    enum class From { Top, After, Before, Around };
    From from = From::Top;
    StandingKey key;        // After and Before
    std::string player;     // Around
    std::size_t limit = 0;  // rows at most; at least 1
};

struct StandingsPage {
    std::vector<Standing> rows;  // in ranking order
    std::int64_t players = 0;    // everyone in the standings
    bool earlier = false;        // players are ranked before the first row
    bool later = false;          // players are ranked after the last row
};

struct VersionInfo {
    std::string version;
    std::string download;
};

// Takes a whole ladder as it is stored, every field kept: each user before the games that
// refer to it, and the version last, when one was set.
class LadderSink {
public:
    virtual ~LadderSink() = default;
    virtual void User(const UserRecord& user) = 0;
    virtual void Game(const GameRecord& game) = 0;
    virtual void Version(const VersionInfo& version) = 0;
};

// Writes a whole ladder into a store in one transaction: nothing of it is seen until Commit,
// and all of it is dropped when the import is destroyed uncommitted.
class LadderImport : public LadderSink {
public:
    virtual void Commit() = 0;
};

// A ladder is only imported into a store that holds no users and no games.
class LadderNotEmpty : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Store {
public:
    virtual ~Store() = default;

    // Adds user (name, hash, e-mail, enabled), created now; its id and createdAtMs are the
    // store's. False, with nothing stored, when a user of that name exists.
    virtual bool AddUser(const UserRecord& user) = 0;
    virtual std::optional<UserRecord> FindUser(std::string_view name) = 0;
    // False when there is no such user.
    virtual bool SetUserEnabled(std::string_view name, bool enabled) = 0;
    virtual bool SetUserPassword(std::string_view name, std::string_view passwordHash) = 0;
    // Every user, by name (byte order).
    virtual std::vector<UserRecord> Users() = 0;

    // Adds game (id, user, puzzle, solution, level) as open, started now; its other fields
    // are the store's. Throws when a game of that id exists.
    virtual void AddGame(const GameRecord& game) = 0;
    // The game of that id when it is open and belongs to the user of that name.
    virtual std::optional<OpenGame> FindOpenGame(std::string_view id,
                                                 std::string_view userName) = 0;
    // Closes the open game of that id now, in state (not Open), and gives the whole seconds
    // from its start to now, never negative, which a solved game keeps as its official
    // time. Nothing, with nothing changed, when the game is not open: of two closings at
    // once, in one process or in several sharing the database, exactly one gets a time.
    virtual std::optional<std::int64_t> CloseGame(std::string_view id, GameState state) = 0;

    // One page of the standings, read from one snapshot. The rows are kept per player as
    // games start and close, so a page costs the same however many players and games there
    // are. Around a player who is not in the standings: nothing.
    virtual std::optional<StandingsPage> Standings(const StandingsQuery& query) = 0;

    // Empty texts until set.
    virtual VersionInfo Version() = 0;
    virtual void SetVersion(const VersionInfo& version) = 0;

    // Hands the whole ladder to sink from one consistent snapshot, users and games in id
    // order; no change made meanwhile is half seen.
    virtual void Export(LadderSink& sink) = 0;
    // Begins writing a whole ladder into this store, which must hold no users and no games
    // (LadderNotEmpty, with nothing changed, otherwise). The import holds one of the
    // store's connections until it is destroyed.
    virtual std::unique_ptr<LadderImport> BeginImport() = 0;

    // Whether a statement reaches the database now: for the health check, which must not
    // throw. Waits for a connection of the pool like any call.
    virtual bool Reachable() = 0;
    // The connection pool's use, for the operators' metrics.
    virtual PoolUse ConnectionUse() const = 0;

    // The login throttle's counts of failed logins, kept with the ladder; as long-lived as
    // the store, and on its connections.
    virtual LoginFailures& FailedLogins() = 0;
};

}  // namespace ladder
