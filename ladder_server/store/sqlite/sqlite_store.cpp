#include "ladder_server/store/sqlite/sqlite_store.h"

#include <algorithm>
#include <stdexcept>

#include "ladder_server/store/sqlite/sqlite_schema.h"
#include "ladder_server/store/standings_pages.h"
#include "ladder_server/store/standings_statements.h"
#include "ladder_server/store/stored_values.h"

namespace ladder {

namespace {

#define LADDER_USER_COLUMNS "id, name, password_hash, email, enabled, created_at_ms"
#define LADDER_GAME_COLUMNS \
    "id, user_id, puzzle, solution, level, started_at_ms, state, finished_at_ms, seconds"

// Every statement the store runs, prepared once on each connection of the pool.
constexpr std::pair<const char*, const char*> kStatements[] = {
    {"add_user",
     "INSERT INTO users (name, password_hash, email, enabled, created_at_ms) "
     "VALUES (?1, ?2, ?3, ?4, ?5) ON CONFLICT (name) DO NOTHING"},
    {"find_user", "SELECT " LADDER_USER_COLUMNS " FROM users WHERE name = ?1"},
    {"set_enabled", "UPDATE users SET enabled = ?1 WHERE name = ?2"},
    {"set_password", "UPDATE users SET password_hash = ?1 WHERE name = ?2"},
    {"users", "SELECT " LADDER_USER_COLUMNS " FROM users ORDER BY name"},
    {"add_game",
     "INSERT INTO games (id, user_id, puzzle, solution, level, started_at_ms, state) "
     "VALUES (?1, ?2, ?3, ?4, ?5, ?6, 'open')"},
    {"find_open_game",
     "SELECT g.id, g.user_id, g.puzzle, g.solution, g.level, g.started_at_ms, g.state, "
     "g.finished_at_ms, g.seconds, u.enabled FROM games g JOIN users u ON u.id = g.user_id "
     "WHERE g.id = ?1 AND u.name = ?2 AND g.state = 'open'"},
    // Integer division truncates toward zero, so a clock set back since the start gives 0.
    {"close_game",
     "UPDATE games SET state = ?1, finished_at_ms = ?2, "
     "seconds = CASE WHEN ?1 = 'solved' THEN MAX(0, (?2 - started_at_ms) / 1000) END "
     "WHERE id = ?3 AND state = 'open' RETURNING MAX(0, (?2 - started_at_ms) / 1000)"},
    {"standings_after", standings_sql::kAfter},
    {"standings_before", standings_sql::kBefore},
    {"standing_of", standings_sql::kFind},
    {"players_ahead", standings_sql::kAhead},
    {"players", standings_sql::kPlayers},
    {"version", "SELECT key, value FROM settings WHERE key IN (?1, ?2)"},
    {"set_version",
     "INSERT INTO settings (key, value) VALUES (?1, ?2), (?3, ?4) "
     "ON CONFLICT (key) DO UPDATE SET value = excluded.value"},
    {"holds_ladder", "SELECT EXISTS (SELECT 1 FROM users) OR EXISTS (SELECT 1 FROM games)"},
    {"export_users", "SELECT " LADDER_USER_COLUMNS " FROM users ORDER BY id"},
    {"export_games", "SELECT " LADDER_GAME_COLUMNS " FROM games ORDER BY id"},
    {"import_user", "INSERT INTO users (" LADDER_USER_COLUMNS ") VALUES (?1, ?2, ?3, ?4, ?5, ?6)"},
    {"import_game",
     "INSERT INTO games (" LADDER_GAME_COLUMNS ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)"},
    {"probe", "SELECT count(*) FROM settings"},
};

UserRecord ReadUser(const sqlite::Statement& row) {
    return UserRecord{row.Int(0),  row.Text(1),     row.Text(2),
                      row.Text(3), row.Int(4) != 0, row.Int(5)};
}

std::optional<std::int64_t> OptionalInt(const sqlite::Statement& row, int column) {
    return row.IsNull(column) ? std::nullopt : std::optional(row.Int(column));
}

// A row of kGameColumns.
GameRecord ReadGame(const sqlite::Statement& row) {
    GameRecord game;
    game.id = row.Text(0);
    game.userId = row.Int(1);
    game.puzzle = row.Text(2);
    game.solution = row.Text(3);
    game.level = LevelFromText(row.Text(4));
    game.startedAtMs = row.Int(5);
    game.state = StateFromText(row.Text(6));
    game.finishedAtMs = OptionalInt(row, 7);
    game.seconds = OptionalInt(row, 8);
    return game;
}

VersionInfo ReadVersion(sqlite::Connection& connection) {
    auto select = connection.Run("version", kVersionSetting, kDownloadSetting);
    VersionInfo version;
    while (select->Step()) {
        (select->Text(0) == kVersionSetting ? version.version : version.download) = select->Text(1);
    }
    return version;
}

void WriteVersion(sqlite::Connection& connection, const VersionInfo& version) {
    connection
        .Run("set_version", kVersionSetting, version.version, kDownloadSetting, version.download)
        ->Run();
}

class Reader final : public StandingsReader {
public:
    explicit Reader(sqlite::Connection& connection) : connection_(connection) {}

    std::vector<StandingRow> After(const StandingRow& key, std::size_t limit) override {
        return Rows("standings_after", key, limit);
    }
    std::vector<StandingRow> Before(const StandingRow& key, std::size_t limit) override {
        return Rows("standings_before", key, limit);
    }
    std::optional<StandingRow> Find(std::string_view user) override {
        auto select = connection_.Run("standing_of", user);
        if (!select->Step()) {
            return std::nullopt;
        }
        return Row(*select);
    }
    std::int64_t Ahead(const StandingRow& key) override {
        auto select = connection_.Run("players_ahead", key.solved, key.bestSeconds);
        select->Step();
        return select->Int(0);
    }
    std::int64_t Players() override {
        auto select = connection_.Run("players");
        select->Step();
        return select->Int(0);
    }

private:
    static StandingRow Row(const sqlite::Statement& row) {
        return StandingRow{row.Text(0), row.Int(1), row.Int(2), row.Int(3)};
    }

    std::vector<StandingRow> Rows(const char* statement, const StandingRow& key,
                                  std::size_t limit) {
        auto select = connection_.Run(statement, key.solved, key.bestSeconds, key.user,
                                      static_cast<std::int64_t>(limit));
        std::vector<StandingRow> rows;
        while (select->Step()) {
            rows.push_back(Row(*select));
        }
        return rows;
    }

    sqlite::Connection& connection_;
};

}  // namespace

// Holds the write lock from the check that the file is empty to the commit, so no server
// adds a user or a game in between.
class SqliteStore::Import final : public LadderImport {
public:
    explicit Import(ConnectionPool<sqlite::Connection>& pool)
        : lease_(pool), transaction_(*lease_, sqlite::Transaction::Mode::Immediate) {
        auto holds = lease_->Run("holds_ladder");
        holds->Step();
        if (holds->Int(0) != 0) {
            throw LadderNotEmpty(kNotEmptyMessage);
        }
    }

    void User(const UserRecord& user) override {
        lease_
            ->Run("import_user", user.id, user.name, user.passwordHash, user.email, user.enabled,
                  user.createdAtMs)
            ->Run();
    }

    void Game(const GameRecord& game) override {
        lease_
            ->Run("import_game", game.id, game.userId, game.puzzle, game.solution,
                  LevelText(game.level), game.startedAtMs, StateText(game.state), game.finishedAtMs,
                  game.seconds)
            ->Run();
    }

    void Version(const VersionInfo& version) override { WriteVersion(*lease_, version); }

    void Commit() override { transaction_.Commit(); }

private:
    Lease lease_;
    sqlite::Transaction transaction_;
};

SqliteStore::SqliteStore(const std::string& path, Clock& clock, int maxConnections)
    : clock_(clock),
      // SQLite's errors leave a connection as it was, and an in-memory database lives only
      // as long as its one connection: every call holds a Lease, which never closes its
      // connection for a failed call.
      pool_(path == ":memory:" ? 1 : maxConnections, [path] { return Open(path); }) {
    Lease first(pool_);
    // WAL is a property of the file: set once, every later connection finds it.
    first->Execute("PRAGMA journal_mode = WAL");
    Migrate(*first);
}

SqliteStore::~SqliteStore() = default;

std::unique_ptr<sqlite::Connection> SqliteStore::Open(const std::string& path) {
    auto connection = std::make_unique<sqlite::Connection>(path);
    // NORMAL in WAL mode keeps every committed game through a crash of the server; only a
    // crash of the whole machine can lose the last commits.
    connection->Execute("PRAGMA foreign_keys = ON; PRAGMA synchronous = NORMAL");
    for (const auto& [name, sql] : kStatements) {
        connection->Prepare(name, sql);
    }
    PrepareLoginFailures(*connection);
    return connection;
}

bool SqliteStore::AddUser(const UserRecord& user) {
    Lease connection(pool_);
    connection
        ->Run("add_user", user.name, user.passwordHash, user.email, user.enabled, clock_.NowMs())
        ->Run();
    return connection->Changes() == 1;
}

std::optional<UserRecord> SqliteStore::FindUser(std::string_view name) {
    Lease connection(pool_);
    auto select = connection->Run("find_user", name);
    if (!select->Step()) {
        return std::nullopt;
    }
    return ReadUser(*select);
}

bool SqliteStore::SetUserEnabled(std::string_view name, bool enabled) {
    Lease connection(pool_);
    connection->Run("set_enabled", enabled, name)->Run();
    return connection->Changes() == 1;
}

bool SqliteStore::SetUserPassword(std::string_view name, std::string_view passwordHash) {
    Lease connection(pool_);
    connection->Run("set_password", passwordHash, name)->Run();
    return connection->Changes() == 1;
}

std::vector<UserRecord> SqliteStore::Users() {
    Lease connection(pool_);
    auto select = connection->Run("users");
    std::vector<UserRecord> users;
    while (select->Step()) {
        users.push_back(ReadUser(*select));
    }
    return users;
}

void SqliteStore::AddGame(const GameRecord& game) {
    Lease connection(pool_);
    connection
        ->Run("add_game", game.id, game.userId, game.puzzle, game.solution, LevelText(game.level),
              clock_.NowMs())
        ->Run();
}

std::optional<OpenGame> SqliteStore::FindOpenGame(std::string_view id, std::string_view userName) {
    Lease connection(pool_);
    auto select = connection->Run("find_open_game", id, userName);
    if (!select->Step()) {
        return std::nullopt;
    }
    return OpenGame{ReadGame(*select), select->Int(9) != 0};
}

std::optional<std::int64_t> SqliteStore::CloseGame(std::string_view id, GameState state) {
    if (state == GameState::Open) {
        throw std::invalid_argument("a game is closed as solved, failed or forfeited");
    }
    Lease connection(pool_);
    auto update = connection->Run("close_game", StateText(state), clock_.NowMs(), id);
    if (!update->Step()) {
        return std::nullopt;
    }
    const std::int64_t seconds = update->Int(0);
    update->Run();  // to the statement's end, which commits it
    return seconds;
}

std::optional<StandingsPage> SqliteStore::Standings(const StandingsQuery& query) {
    Lease connection(pool_);
    // One read transaction, so the rows, the places and the count agree.
    sqlite::Transaction snapshot(*connection, sqlite::Transaction::Mode::Deferred);
    Reader reader(*connection);
    auto page = ReadStandingsPage(reader, query);
    snapshot.Commit();
    return page;
}

VersionInfo SqliteStore::Version() {
    Lease connection(pool_);
    return ReadVersion(*connection);
}

void SqliteStore::SetVersion(const VersionInfo& version) {
    Lease connection(pool_);
    WriteVersion(*connection, version);
}

void SqliteStore::Export(LadderSink& sink) {
    Lease connection(pool_);
    // One read transaction: in WAL mode it reads one snapshot while writers go on.
    sqlite::Transaction snapshot(*connection, sqlite::Transaction::Mode::Deferred);
    {
        auto users = connection->Run("export_users");
        while (users->Step()) {
            sink.User(ReadUser(*users));
        }
    }
    {
        auto games = connection->Run("export_games");
        while (games->Step()) {
            sink.Game(ReadGame(*games));
        }
    }
    if (const VersionInfo version = ReadVersion(*connection); !version.version.empty()) {
        sink.Version(version);
    }
    snapshot.Commit();
}

std::unique_ptr<LadderImport> SqliteStore::BeginImport() {
    return std::make_unique<Import>(pool_);
}

bool SqliteStore::Reachable() {
    try {
        Lease connection(pool_);
        return connection->Run("probe")->Step();
    } catch (const sqlite::Error&) {
        return false;
    }
}

}  // namespace ladder
