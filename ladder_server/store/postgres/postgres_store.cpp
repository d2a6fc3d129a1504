#include "ladder_server/store/postgres/postgres_store.h"

#include <pqxx/nontransaction>
#include <pqxx/result>
#include <pqxx/transaction>

#include <stdexcept>
#include <utility>

#include "ladder_server/store/postgres/postgres.h"
#include "ladder_server/store/postgres/postgres_schema.h"
#include "ladder_server/store/standings_pages.h"
#include "ladder_server/store/standings_statements.h"
#include "ladder_server/store/stored_values.h"

namespace ladder {

namespace {

// The database server's clock in milliseconds since the Unix epoch; close_game reads it once
// for both the finish and the time.
#define LADDER_NOW_MS "(floor(extract(epoch FROM clock_timestamp()) * 1000))::bigint"
#define LADDER_USER_COLUMNS "id, name, password_hash, email, enabled, created_at_ms"
#define LADDER_GAME_COLUMNS \
    "id, user_id, puzzle, solution, level, started_at_ms, state, finished_at_ms, seconds"

// Every statement the store runs, prepared on each connection of the pool.
constexpr std::pair<const char*, const char*> kStatements[] = {
    {"add_user",
     "INSERT INTO users (name, password_hash, email, enabled, created_at_ms) "
     "VALUES ($1, $2, $3, $4, " LADDER_NOW_MS ") ON CONFLICT (name) DO NOTHING"},
    {"find_user", "SELECT " LADDER_USER_COLUMNS " FROM users WHERE name = $1"},
    {"set_enabled", "UPDATE users SET enabled = $1 WHERE name = $2"},
    {"set_password", "UPDATE users SET password_hash = $1 WHERE name = $2"},
    // Byte order, as SQLite sorts, whatever collation the database was made with.
    {"users", "SELECT " LADDER_USER_COLUMNS " FROM users ORDER BY name COLLATE \"C\""},
    {"add_game",
     "INSERT INTO games (id, user_id, puzzle, solution, level, started_at_ms) "
     "VALUES ($1, $2, $3, $4, $5, " LADDER_NOW_MS ")"},
    {"find_open_game",
     "SELECT g.id, g.user_id, g.puzzle, g.solution, g.level, g.started_at_ms, g.state, "
     "g.finished_at_ms, g.seconds, u.enabled FROM games g JOIN users u ON u.id = g.user_id "
     "WHERE g.id = $1 AND u.name = $2 AND g.state = 'open'"},
    // A second closing of the same game waits for the first one's row lock, then finds the
    // game no longer open and changes nothing.
    {"close_game",
     "UPDATE games AS g SET state = $2::text, finished_at_ms = now_ms.ms, "
     "seconds = CASE WHEN $2::text = 'solved' "
     "THEN GREATEST(0, (now_ms.ms - g.started_at_ms) / 1000) END "
     "FROM (SELECT " LADDER_NOW_MS " AS ms) AS now_ms "
     "WHERE g.id = $1 AND g.state = 'open' "
     "RETURNING GREATEST(0, (now_ms.ms - g.started_at_ms) / 1000)"},
    {"standings_after", standings_sql::kAfter},
    {"standings_before", standings_sql::kBefore},
    {"standing_of", standings_sql::kFind},
    {"players_ahead", standings_sql::kAhead},
    {"players", standings_sql::kPlayers},
    {"version", "SELECT key, value FROM settings WHERE key IN ($1, $2)"},
    {"set_version",
     "INSERT INTO settings (key, value) VALUES ($1, $2), ($3, $4) "
     "ON CONFLICT (key) DO UPDATE SET value = excluded.value"},
    {"import_user", "INSERT INTO users (" LADDER_USER_COLUMNS ") VALUES ($1, $2, $3, $4, $5, $6)"},
    {"import_game",
     "INSERT INTO games (" LADDER_GAME_COLUMNS ") VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9)"},
};

// Read a whole ladder in batches of this many rows, so an export holds little in memory.
constexpr int kExportBatch = 1000;

void Prepare(pqxx::connection& connection) {
    for (const auto& [name, sql] : kStatements) {
        connection.prepare(name, sql);
    }
}

std::string Text(std::string_view text) {
    if (!postgres::Storable(text)) {
        throw std::invalid_argument("a text with a NUL character cannot be stored");
    }
    return std::string(text);
}

std::optional<std::int64_t> OptionalInt(const pqxx::field& field) {
    return field.is_null() ? std::nullopt : std::optional(field.as<std::int64_t>());
}

// A row of LADDER_USER_COLUMNS.
UserRecord ReadUser(const pqxx::row& row) {
    return UserRecord{row[0].as<std::int64_t>(), row[1].as<std::string>(),
                      row[2].as<std::string>(),  row[3].as<std::string>(),
                      row[4].as<bool>(),         row[5].as<std::int64_t>()};
}

// A row of LADDER_GAME_COLUMNS.
GameRecord ReadGame(const pqxx::row& row) {
    GameRecord game;
    game.id = row[0].as<std::string>();
    game.userId = row[1].as<std::int64_t>();
    game.puzzle = row[2].as<std::string>();
    game.solution = row[3].as<std::string>();
    game.level = LevelFromText(row[4].as<std::string>());
    game.startedAtMs = row[5].as<std::int64_t>();
    game.state = StateFromText(row[6].as<std::string>());
    game.finishedAtMs = OptionalInt(row[7]);
    game.seconds = OptionalInt(row[8]);
    return game;
}

VersionInfo ReadVersion(pqxx::transaction_base& transaction) {
    VersionInfo version;
    for (const auto& row :
         transaction.exec_prepared("version", kVersionSetting, kDownloadSetting)) {
        (row[0].as<std::string>() == kVersionSetting ? version.version : version.download) =
            row[1].as<std::string>();
    }
    return version;
}

void WriteVersion(pqxx::transaction_base& transaction, const VersionInfo& version) {
    transaction.exec_prepared("set_version", kVersionSetting, Text(version.version),
                              kDownloadSetting, Text(version.download));
}

class Reader final : public StandingsReader {
public:
    explicit Reader(pqxx::transaction_base& transaction) : transaction_(transaction) {}

    std::vector<StandingRow> After(const StandingRow& key, std::size_t limit) override {
        return Rows("standings_after", key, limit);
    }
    std::vector<StandingRow> Before(const StandingRow& key, std::size_t limit) override {
        return Rows("standings_before", key, limit);
    }
    std::optional<StandingRow> Find(std::string_view user) override {
        if (!postgres::Storable(user)) {
            return std::nullopt;  // no stored name holds a NUL
        }
        const auto rows = transaction_.exec_prepared("standing_of", std::string(user));
        if (rows.empty()) {
            return std::nullopt;
        }
        return Row(rows[0]);
    }
    std::int64_t Ahead(const StandingRow& key) override {
        return transaction_.exec_prepared1("players_ahead", key.solved, key.bestSeconds)[0]
            .as<std::int64_t>();
    }
    std::int64_t Players() override {
        return transaction_.exec_prepared1("players")[0].as<std::int64_t>();
    }

private:
    static StandingRow Row(const pqxx::row& row) {
        return StandingRow{row[0].as<std::string>(), row[1].as<std::int64_t>(),
                           row[2].as<std::int64_t>(), row[3].as<std::int64_t>()};
    }

    std::vector<StandingRow> Rows(const char* statement, const StandingRow& key,
                                  std::size_t limit) {
        std::vector<StandingRow> rows;
        for (const auto& row :
             transaction_.exec_prepared(statement, key.solved, key.bestSeconds, Text(key.user),
                                        static_cast<std::int64_t>(limit))) {
            rows.push_back(Row(row));
        }
        return rows;
    }

    pqxx::transaction_base& transaction_;
};

}  // namespace

// Holds the tables locked against writers from the check that they are empty to the commit,
// so no server adds a user or a game in between.
class PostgresStore::Import final : public LadderImport {
public:
    explicit Import(ConnectionPool<pqxx::connection>& pool) : lease_(pool), transaction_(*lease_) {
        Guard([this] {
            transaction_.exec("LOCK TABLE users, games IN EXCLUSIVE MODE");
            if (transaction_
                    .exec1("SELECT EXISTS (SELECT 1 FROM users) OR EXISTS (SELECT 1 FROM games)")[0]
                    .as<bool>()) {
                throw LadderNotEmpty(kNotEmptyMessage);
            }
        });
    }

    void User(const UserRecord& user) override {
        Guard([&] {
            transaction_.exec_prepared("import_user", user.id, Text(user.name),
                                       Text(user.passwordHash), Text(user.email), user.enabled,
                                       user.createdAtMs);
        });
    }

    void Game(const GameRecord& game) override {
        Guard([&] {
            transaction_.exec_prepared("import_game", Text(game.id), game.userId, Text(game.puzzle),
                                       Text(game.solution), LevelText(game.level), game.startedAtMs,
                                       StateText(game.state), game.finishedAtMs, game.seconds);
        });
    }

    void Version(const VersionInfo& version) override {
        Guard([&] { WriteVersion(transaction_, version); });
    }

    void Commit() override {
        Guard([this] {
            // Users added after the import get ids above the imported ones.
            transaction_.exec(
                "SELECT setval(pg_get_serial_sequence('users', 'id'), "
                "COALESCE(MAX(id), 0) + 1, false) FROM users");
            transaction_.commit();
        });
    }

private:
    // A failure other than the refusal leaves the connection untrusted.
    template <class Work>
    void Guard(Work work) {
        try {
            work();
        } catch (const LadderNotEmpty&) {
            throw;
        } catch (...) {
            lease_.Discard();
            throw;
        }
    }

    ConnectionPool<pqxx::connection>::Lease lease_;
    pqxx::work transaction_;
};

PostgresStore::PostgresStore(const std::string& url, int maxConnections)
    : pool_(
          maxConnections,
          [url = postgres::WithLadderDefaults(url)] {
              auto connection = std::make_unique<pqxx::connection>(url);
              Prepare(*connection);
              PrepareLoginFailures(*connection);
              return connection;
          },
          postgres::LooksAlive) {
    pool_.Run([](pqxx::connection& connection) { postgres::Migrate(connection); });
}

PostgresStore::~PostgresStore() = default;

bool PostgresStore::AddUser(const UserRecord& user) {
    return pool_.Run([&](pqxx::connection& connection) {
        pqxx::nontransaction transaction(connection);
        return transaction
                   .exec_prepared("add_user", Text(user.name), Text(user.passwordHash),
                                  Text(user.email), user.enabled)
                   .affected_rows() == 1;
    });
}

std::optional<UserRecord> PostgresStore::FindUser(std::string_view name) {
    if (!postgres::Storable(name)) {
        return std::nullopt;  // no stored name holds a NUL
    }
    return pool_.Run([&](pqxx::connection& connection) -> std::optional<UserRecord> {
        pqxx::nontransaction transaction(connection);
        const auto rows = transaction.exec_prepared("find_user", std::string(name));
        if (rows.empty()) {
            return std::nullopt;
        }
        return ReadUser(rows[0]);
    });
}

bool PostgresStore::SetUserEnabled(std::string_view name, bool enabled) {
    if (!postgres::Storable(name)) {
        return false;
    }
    return pool_.Run([&](pqxx::connection& connection) {
        pqxx::nontransaction transaction(connection);
        return transaction.exec_prepared("set_enabled", enabled, std::string(name))
                   .affected_rows() == 1;
    });
}

bool PostgresStore::SetUserPassword(std::string_view name, std::string_view passwordHash) {
    if (!postgres::Storable(name)) {
        return false;
    }
    return pool_.Run([&](pqxx::connection& connection) {
        pqxx::nontransaction transaction(connection);
        return transaction.exec_prepared("set_password", Text(passwordHash), std::string(name))
                   .affected_rows() == 1;
    });
}

std::vector<UserRecord> PostgresStore::Users() {
    return pool_.Run([](pqxx::connection& connection) {
        pqxx::nontransaction transaction(connection);
        std::vector<UserRecord> users;
        for (const auto& row : transaction.exec_prepared("users")) {
            users.push_back(ReadUser(row));
        }
        return users;
    });
}

void PostgresStore::AddGame(const GameRecord& game) {
    pool_.Run([&](pqxx::connection& connection) {
        pqxx::nontransaction transaction(connection);
        transaction.exec_prepared("add_game", Text(game.id), game.userId, Text(game.puzzle),
                                  Text(game.solution), LevelText(game.level));
    });
}

std::optional<OpenGame> PostgresStore::FindOpenGame(std::string_view id,
                                                    std::string_view userName) {
    if (!postgres::Storable(id) || !postgres::Storable(userName)) {
        return std::nullopt;
    }
    return pool_.Run([&](pqxx::connection& connection) -> std::optional<OpenGame> {
        pqxx::nontransaction transaction(connection);
        const auto rows =
            transaction.exec_prepared("find_open_game", std::string(id), std::string(userName));
        if (rows.empty()) {
            return std::nullopt;
        }
        return OpenGame{ReadGame(rows[0]), rows[0][9].as<bool>()};
    });
}

std::optional<std::int64_t> PostgresStore::CloseGame(std::string_view id, GameState state) {
    if (state == GameState::Open) {
        throw std::invalid_argument("a game is closed as solved, failed or forfeited");
    }
    if (!postgres::Storable(id)) {
        return std::nullopt;
    }
    return pool_.Run([&](pqxx::connection& connection) -> std::optional<std::int64_t> {
        pqxx::nontransaction transaction(connection);
        const auto rows =
            transaction.exec_prepared("close_game", std::string(id), StateText(state));
        if (rows.empty()) {
            return std::nullopt;
        }
        return rows[0][0].as<std::int64_t>();
    });
}

std::optional<StandingsPage> PostgresStore::Standings(const StandingsQuery& query) {
    return pool_.Run([&](pqxx::connection& connection) {
        // One snapshot, so the rows, the places and the count agree.
        pqxx::transaction<pqxx::repeatable_read, pqxx::read_only> snapshot(connection);
        Reader reader(snapshot);
        auto page = ReadStandingsPage(reader, query);
        snapshot.commit();
        return page;
    });
}

VersionInfo PostgresStore::Version() {
    return pool_.Run([](pqxx::connection& connection) {
        pqxx::nontransaction transaction(connection);
        return ReadVersion(transaction);
    });
}

void PostgresStore::SetVersion(const VersionInfo& version) {
    pool_.Run([&](pqxx::connection& connection) {
        pqxx::nontransaction transaction(connection);
        WriteVersion(transaction, version);
    });
}

void PostgresStore::Export(LadderSink& sink) {
    pool_.Run([&](pqxx::connection& connection) {
        // One snapshot for every batch.
        pqxx::transaction<pqxx::repeatable_read, pqxx::read_only> snapshot(connection);
        for (std::int64_t after = 0;;) {
            const auto rows = snapshot.exec_params("SELECT " LADDER_USER_COLUMNS
                                                   " FROM users WHERE id > $1 ORDER BY id LIMIT $2",
                                                   after, kExportBatch);
            for (const auto& row : rows) {
                sink.User(ReadUser(row));
                after = row[0].as<std::int64_t>();
            }
            if (rows.size() < static_cast<std::size_t>(kExportBatch)) {
                break;
            }
        }
        for (std::string after;;) {
            const auto rows = snapshot.exec_params("SELECT " LADDER_GAME_COLUMNS
                                                   " FROM games WHERE id > $1 ORDER BY id LIMIT $2",
                                                   after, kExportBatch);
            for (const auto& row : rows) {
                sink.Game(ReadGame(row));
                after = row[0].as<std::string>();
            }
            if (rows.size() < static_cast<std::size_t>(kExportBatch)) {
                break;
            }
        }
        if (const VersionInfo version = ReadVersion(snapshot); !version.version.empty()) {
            sink.Version(version);
        }
        snapshot.commit();
    });
}

std::unique_ptr<LadderImport> PostgresStore::BeginImport() {
    return std::make_unique<Import>(pool_);
}

bool PostgresStore::Reachable() {
    try {
        return pool_.Run([](pqxx::connection& connection) {
            pqxx::nontransaction transaction(connection);
            return transaction.exec1("SELECT 1")[0].as<int>() == 1;
        });
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace ladder

#undef LADDER_GAME_COLUMNS
#undef LADDER_USER_COLUMNS
#undef LADDER_NOW_MS
