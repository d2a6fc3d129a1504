#include "ladder_server/sqlite_store.h"

#include <algorithm>
#include <stdexcept>

#include "ladder_server/schema.h"

namespace ladder {

namespace {

const char* StateText(GameState state) {
    switch (state) {
        case GameState::Open:
            return "open";
        case GameState::Solved:
            return "solved";
        case GameState::Failed:
            return "failed";
        case GameState::Forfeited:
            return "forfeited";
    }
    throw std::invalid_argument("unknown game state");
}

const char* LevelText(LadderLevel level) {
    return level == LadderLevel::Hard ? "hard" : "medium";
}

UserRecord ReadUser(const sqlite::Statement& row) {
    return UserRecord{row.Int(0), row.Text(1), row.Text(2), row.Text(3), row.Int(4) != 0};
}

constexpr const char* kSettingVersion = "version";
constexpr const char* kSettingDownload = "download";

}  // namespace

// A connection borrowed from the pool for one call, given back when the call ends.
class SqliteStore::Lease {
public:
    explicit Lease(SqliteStore& store) : store_(store) {
        std::unique_lock lock(store_.mutex_);
        store_.returned_.wait(lock, [this] {
            return !store_.idle_.empty() || store_.open_ < store_.maxConnections_;
        });
        if (!store_.idle_.empty()) {
            connection_ = std::move(store_.idle_.back());
            store_.idle_.pop_back();
            return;
        }
        ++store_.open_;
        lock.unlock();
        try {
            connection_ = store_.Open();
        } catch (...) {
            lock.lock();
            --store_.open_;
            store_.returned_.notify_one();
            throw;
        }
    }
    ~Lease() {
        {
            std::lock_guard lock(store_.mutex_);
            store_.idle_.push_back(std::move(connection_));
        }
        store_.returned_.notify_one();
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;

    sqlite::Connection& operator*() const { return *connection_; }

private:
    SqliteStore& store_;
    std::unique_ptr<sqlite::Connection> connection_;
};

SqliteStore::SqliteStore(const std::string& path, int maxConnections)
    : path_(path), maxConnections_(path == ":memory:" ? 1 : std::max(1, maxConnections)) {
    auto first = Open();
    // WAL is a property of the file: set once, every later connection finds it.
    first->Execute("PRAGMA journal_mode = WAL");
    Migrate(*first);
    idle_.push_back(std::move(first));
    open_ = 1;
}

SqliteStore::~SqliteStore() = default;

std::unique_ptr<sqlite::Connection> SqliteStore::Open() const {
    auto connection = std::make_unique<sqlite::Connection>(path_);
    // NORMAL in WAL mode keeps every committed game through a crash of the server; only a
    // crash of the whole machine can lose the last commits.
    connection->Execute("PRAGMA foreign_keys = ON; PRAGMA synchronous = NORMAL");
    return connection;
}

bool SqliteStore::AddUser(const UserRecord& user, std::int64_t nowMs) {
    Lease connection(*this);
    sqlite::Statement insert(*connection,
                             "INSERT INTO users (name, password_hash, email, enabled, "
                             "created_at_ms) VALUES (?1, ?2, ?3, ?4, ?5) "
                             "ON CONFLICT (name) DO NOTHING");
    insert.Bind(1, user.name)
        .Bind(2, user.passwordHash)
        .Bind(3, user.email)
        .Bind(4, std::int64_t{user.enabled ? 1 : 0})
        .Bind(5, nowMs)
        .Run();
    return (*connection).Changes() == 1;
}

std::optional<UserRecord> SqliteStore::FindUser(std::string_view name) {
    Lease connection(*this);
    sqlite::Statement select(*connection,
                             "SELECT id, name, password_hash, email, enabled FROM users "
                             "WHERE name = ?1");
    select.Bind(1, name);
    if (!select.Step()) {
        return std::nullopt;
    }
    return ReadUser(select);
}

bool SqliteStore::SetUserEnabled(std::string_view name, bool enabled) {
    Lease connection(*this);
    sqlite::Statement update(*connection, "UPDATE users SET enabled = ?1 WHERE name = ?2");
    update.Bind(1, std::int64_t{enabled ? 1 : 0}).Bind(2, name).Run();
    return (*connection).Changes() == 1;
}

bool SqliteStore::SetUserPassword(std::string_view name, std::string_view passwordHash) {
    Lease connection(*this);
    sqlite::Statement update(*connection, "UPDATE users SET password_hash = ?1 WHERE name = ?2");
    update.Bind(1, passwordHash).Bind(2, name).Run();
    return (*connection).Changes() == 1;
}

std::vector<UserRecord> SqliteStore::Users() {
    Lease connection(*this);
    sqlite::Statement select(*connection,
                             "SELECT id, name, password_hash, email, enabled FROM users "
                             "ORDER BY name");
    std::vector<UserRecord> users;
    while (select.Step()) {
        users.push_back(ReadUser(select));
    }
    return users;
}

void SqliteStore::AddGame(const GameRecord& game) {
    Lease connection(*this);
    sqlite::Statement insert(*connection,
                             "INSERT INTO games (id, user_id, puzzle, solution, level, "
                             "started_at_ms, state) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    insert.Bind(1, game.id)
        .Bind(2, game.userId)
        .Bind(3, game.puzzle)
        .Bind(4, game.solution)
        .Bind(5, LevelText(game.level))
        .Bind(6, game.startedAtMs)
        .Bind(7, StateText(game.state))
        .Run();
}

std::optional<GameRecord> SqliteStore::FindOpenGame(std::string_view id,
                                                    std::string_view userName) {
    Lease connection(*this);
    sqlite::Statement select(*connection,
                             "SELECT g.id, g.user_id, g.puzzle, g.solution, g.level, "
                             "g.started_at_ms FROM games g JOIN users u ON u.id = g.user_id "
                             "WHERE g.id = ?1 AND u.name = ?2 AND g.state = 'open'");
    select.Bind(1, id).Bind(2, userName);
    if (!select.Step()) {
        return std::nullopt;
    }
    GameRecord game;
    game.id = select.Text(0);
    game.userId = select.Int(1);
    game.puzzle = select.Text(2);
    game.solution = select.Text(3);
    game.level = select.Text(4) == "hard" ? LadderLevel::Hard : LadderLevel::Medium;
    game.startedAtMs = select.Int(5);
    game.state = GameState::Open;
    return game;
}

bool SqliteStore::CloseGame(std::string_view id, GameState state, std::int64_t finishedAtMs,
                            std::optional<std::int64_t> seconds) {
    if (state == GameState::Open) {
        throw std::invalid_argument("a game is closed as solved, failed or forfeited");
    }
    Lease connection(*this);
    sqlite::Statement update(*connection,
                             "UPDATE games SET state = ?1, finished_at_ms = ?2, seconds = ?3 "
                             "WHERE id = ?4 AND state = 'open'");
    update.Bind(1, StateText(state)).Bind(2, finishedAtMs);
    if (seconds) {
        update.Bind(3, *seconds);
    } else {
        update.BindNull(3);
    }
    update.Bind(4, id).Run();
    return (*connection).Changes() == 1;
}

std::vector<Standing> SqliteStore::Standings() {
    Lease connection(*this);
    sqlite::Statement select(*connection,
                             "SELECT u.name, "
                             "       COUNT(CASE WHEN g.state = 'solved' THEN 1 END) AS solved, "
                             "       MIN(CASE WHEN g.state = 'solved' THEN g.seconds END) AS best "
                             "FROM users u JOIN games g ON g.user_id = u.id "
                             "GROUP BY u.id "
                             "ORDER BY solved DESC, best ASC NULLS LAST, u.name");
    std::vector<Standing> standings;
    while (select.Step()) {
        Standing standing{select.Text(0), select.Int(1), std::nullopt};
        if (!select.IsNull(2)) {
            standing.bestSeconds = select.Int(2);
        }
        standings.push_back(std::move(standing));
    }
    return standings;
}

VersionInfo SqliteStore::Version() {
    Lease connection(*this);
    sqlite::Statement select(*connection, "SELECT key, value FROM settings WHERE key IN (?1, ?2)");
    select.Bind(1, kSettingVersion).Bind(2, kSettingDownload);
    VersionInfo version;
    while (select.Step()) {
        (select.Text(0) == kSettingVersion ? version.version : version.download) = select.Text(1);
    }
    return version;
}

void SqliteStore::SetVersion(const VersionInfo& version) {
    Lease connection(*this);
    sqlite::Transaction transaction(*connection);
    sqlite::Statement upsert(*connection,
                             "INSERT INTO settings (key, value) VALUES (?1, ?2) "
                             "ON CONFLICT (key) DO UPDATE SET value = excluded.value");
    upsert.Bind(1, kSettingVersion).Bind(2, version.version).Run();
    upsert.Reset();
    upsert.Bind(1, kSettingDownload).Bind(2, version.download).Run();
    transaction.Commit();
}

}  // namespace ladder
