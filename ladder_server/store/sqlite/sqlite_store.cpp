#include "ladder_server/store/sqlite/sqlite_store.h"

#include <algorithm>
#include <stdexcept>

#include "ladder_server/store/sqlite/sqlite_schema.h"
#include "ladder_server/store/stored_values.h"

namespace ladder {

namespace {

constexpr const char* kUserColumns = "id, name, password_hash, email, enabled, created_at_ms";
constexpr const char* kGameColumns =
    "id, user_id, puzzle, solution, level, started_at_ms, state, finished_at_ms, seconds";

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

void BindOptional(sqlite::Statement& statement, int index, std::optional<std::int64_t> value) {
    if (value) {
        statement.Bind(index, *value);
    } else {
        statement.BindNull(index);
    }
}

VersionInfo ReadVersion(sqlite::Connection& connection) {
    sqlite::Statement select(connection, "SELECT key, value FROM settings WHERE key IN (?1, ?2)");
    select.Bind(1, kVersionSetting).Bind(2, kDownloadSetting);
    VersionInfo version;
    while (select.Step()) {
        (select.Text(0) == kVersionSetting ? version.version : version.download) = select.Text(1);
    }
    return version;
}

void WriteVersion(sqlite::Connection& connection, const VersionInfo& version) {
    sqlite::Statement upsert(connection,
                             "INSERT INTO settings (key, value) VALUES (?1, ?2), (?3, ?4) "
                             "ON CONFLICT (key) DO UPDATE SET value = excluded.value");
    upsert.Bind(1, kVersionSetting)
        .Bind(2, version.version)
        .Bind(3, kDownloadSetting)
        .Bind(4, version.download)
        .Run();
}

std::string Select(const char* columns, const char* rest) {
    return std::string("SELECT ") + columns + " " + rest;
}

}  // namespace

// Holds the write lock from the check that the file is empty to the commit, so no server
// adds a user or a game in between.
class SqliteStore::Import final : public LadderImport {
public:
    explicit Import(ConnectionPool<sqlite::Connection>& pool)
        : lease_(pool),
          transaction_(*lease_, sqlite::Transaction::Mode::Immediate),
          insertUser_(*lease_, "INSERT INTO users (" + std::string(kUserColumns) +
                                   ") VALUES (?1, ?2, ?3, ?4, ?5, ?6)"),
          insertGame_(*lease_, "INSERT INTO games (" + std::string(kGameColumns) +
                                   ") VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)") {
        sqlite::Statement holds(*lease_,
                                "SELECT EXISTS (SELECT 1 FROM users) OR "
                                "EXISTS (SELECT 1 FROM games)");
        holds.Step();
        if (holds.Int(0) != 0) {
            throw LadderNotEmpty(kNotEmptyMessage);
        }
    }

    void User(const UserRecord& user) override {
        insertUser_.Reset();
        insertUser_.Bind(1, user.id)
            .Bind(2, user.name)
            .Bind(3, user.passwordHash)
            .Bind(4, user.email)
            .Bind(5, std::int64_t{user.enabled ? 1 : 0})
            .Bind(6, user.createdAtMs)
            .Run();
    }

    void Game(const GameRecord& game) override {
        insertGame_.Reset();
        insertGame_.Bind(1, game.id)
            .Bind(2, game.userId)
            .Bind(3, game.puzzle)
            .Bind(4, game.solution)
            .Bind(5, LevelText(game.level))
            .Bind(6, game.startedAtMs)
            .Bind(7, StateText(game.state));
        BindOptional(insertGame_, 8, game.finishedAtMs);
        BindOptional(insertGame_, 9, game.seconds);
        insertGame_.Run();
    }

    void Version(const VersionInfo& version) override { WriteVersion(*lease_, version); }

    void Commit() override { transaction_.Commit(); }

private:
    Lease lease_;
    sqlite::Transaction transaction_;
    sqlite::Statement insertUser_;
    sqlite::Statement insertGame_;
};

SqliteStore::SqliteStore(const std::string& path, Clock& clock, int maxConnections)
    : clock_(clock),
      // SQLite's errors leave a connection as it was, and an in-memory database lives only
      // as long as its one connection: a connection is never closed for a failed call.
      pool_(path == ":memory:" ? 1 : maxConnections,
            ConnectionPool<sqlite::Connection>::AfterThrow::Keep, [path] { return Open(path); }) {
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
    return connection;
}

bool SqliteStore::AddUser(const UserRecord& user) {
    Lease connection(pool_);
    sqlite::Statement insert(*connection,
                             "INSERT INTO users (name, password_hash, email, enabled, "
                             "created_at_ms) VALUES (?1, ?2, ?3, ?4, ?5) "
                             "ON CONFLICT (name) DO NOTHING");
    insert.Bind(1, user.name)
        .Bind(2, user.passwordHash)
        .Bind(3, user.email)
        .Bind(4, std::int64_t{user.enabled ? 1 : 0})
        .Bind(5, clock_.NowMs())
        .Run();
    return (*connection).Changes() == 1;
}

std::optional<UserRecord> SqliteStore::FindUser(std::string_view name) {
    Lease connection(pool_);
    sqlite::Statement select(*connection, Select(kUserColumns, "FROM users WHERE name = ?1"));
    select.Bind(1, name);
    if (!select.Step()) {
        return std::nullopt;
    }
    return ReadUser(select);
}

bool SqliteStore::SetUserEnabled(std::string_view name, bool enabled) {
    Lease connection(pool_);
    sqlite::Statement update(*connection, "UPDATE users SET enabled = ?1 WHERE name = ?2");
    update.Bind(1, std::int64_t{enabled ? 1 : 0}).Bind(2, name).Run();
    return (*connection).Changes() == 1;
}

bool SqliteStore::SetUserPassword(std::string_view name, std::string_view passwordHash) {
    Lease connection(pool_);
    sqlite::Statement update(*connection, "UPDATE users SET password_hash = ?1 WHERE name = ?2");
    update.Bind(1, passwordHash).Bind(2, name).Run();
    return (*connection).Changes() == 1;
}

std::vector<UserRecord> SqliteStore::Users() {
    Lease connection(pool_);
    sqlite::Statement select(*connection, Select(kUserColumns, "FROM users ORDER BY name"));
    std::vector<UserRecord> users;
    while (select.Step()) {
        users.push_back(ReadUser(select));
    }
    return users;
}

void SqliteStore::AddGame(const GameRecord& game) {
    Lease connection(pool_);
    sqlite::Statement insert(*connection,
                             "INSERT INTO games (id, user_id, puzzle, solution, level, "
                             "started_at_ms, state) VALUES (?1, ?2, ?3, ?4, ?5, ?6, 'open')");
    insert.Bind(1, game.id)
        .Bind(2, game.userId)
        .Bind(3, game.puzzle)
        .Bind(4, game.solution)
        .Bind(5, LevelText(game.level))
        .Bind(6, clock_.NowMs())
        .Run();
}

std::optional<OpenGame> SqliteStore::FindOpenGame(std::string_view id, std::string_view userName) {
    Lease connection(pool_);
    sqlite::Statement select(*connection,
                             "SELECT g.id, g.user_id, g.puzzle, g.solution, g.level, "
                             "g.started_at_ms, g.state, g.finished_at_ms, g.seconds, u.enabled "
                             "FROM games g JOIN users u ON u.id = g.user_id "
                             "WHERE g.id = ?1 AND u.name = ?2 AND g.state = 'open'");
    select.Bind(1, id).Bind(2, userName);
    if (!select.Step()) {
        return std::nullopt;
    }
    return OpenGame{ReadGame(select), select.Int(9) != 0};
}

std::optional<std::int64_t> SqliteStore::CloseGame(std::string_view id, GameState state) {
    if (state == GameState::Open) {
        throw std::invalid_argument("a game is closed as solved, failed or forfeited");
    }
    Lease connection(pool_);
    // Integer division truncates toward zero, so a clock set back since the start gives 0.
    sqlite::Statement update(
        *connection,
        "UPDATE games SET state = ?1, finished_at_ms = ?2, "
        "seconds = CASE WHEN ?1 = 'solved' THEN MAX(0, (?2 - started_at_ms) / 1000) END "
        "WHERE id = ?3 AND state = 'open' RETURNING MAX(0, (?2 - started_at_ms) / 1000)");
    update.Bind(1, StateText(state)).Bind(2, clock_.NowMs()).Bind(3, id);
    if (!update.Step()) {
        return std::nullopt;
    }
    const std::int64_t seconds = update.Int(0);
    update.Run();  // to the statement's end, which commits it
    return seconds;
}

std::vector<Standing> SqliteStore::Standings() {
    Lease connection(pool_);
    sqlite::Statement select(*connection,
                             "SELECT u.name, "
                             "       COUNT(CASE WHEN g.state = 'solved' THEN 1 END) AS solved, "
                             "       MIN(CASE WHEN g.state = 'solved' THEN g.seconds END) AS best "
                             "FROM users u JOIN games g ON g.user_id = u.id "
                             "GROUP BY u.id "
                             "ORDER BY solved DESC, best ASC NULLS LAST, u.name");
    std::vector<Standing> standings;
    while (select.Step()) {
        standings.push_back(Standing{select.Text(0), select.Int(1), OptionalInt(select, 2)});
    }
    return standings;
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
    sqlite::Statement users(*connection, Select(kUserColumns, "FROM users ORDER BY id"));
    while (users.Step()) {
        sink.User(ReadUser(users));
    }
    sqlite::Statement games(*connection, Select(kGameColumns, "FROM games ORDER BY id"));
    while (games.Step()) {
        sink.Game(ReadGame(games));
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
        sqlite::Statement probe(*connection, "SELECT count(*) FROM settings");
        return probe.Step();
    } catch (const sqlite::Error&) {
        return false;
    }
}

}  // namespace ladder
