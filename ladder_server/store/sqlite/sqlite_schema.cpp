#include "ladder_server/store/sqlite/sqlite_schema.h"

#include <sqlite3.h>

#include <span>
#include <string>

namespace ladder {

namespace {

struct Migration {
    int version;
    const char* sql;
};

// Times are milliseconds since the Unix epoch by the server's wall clock; a game's official
// time is whole seconds from started_at_ms to finished_at_ms.
constexpr Migration kMigrations[] = {
    {1, R"sql(
        CREATE TABLE users (
            id            INTEGER PRIMARY KEY,
            name          TEXT NOT NULL UNIQUE,
            password_hash TEXT NOT NULL,
            email         TEXT NOT NULL DEFAULT '',
            enabled       INTEGER NOT NULL DEFAULT 0 CHECK (enabled IN (0, 1)),
            created_at_ms INTEGER NOT NULL
        );
        CREATE TABLE games (
            id             TEXT PRIMARY KEY,
            user_id        INTEGER NOT NULL REFERENCES users (id),
            puzzle         TEXT NOT NULL,
            solution       TEXT NOT NULL,
            level          TEXT NOT NULL CHECK (level IN ('medium', 'hard')),
            started_at_ms  INTEGER NOT NULL,
            state          TEXT NOT NULL DEFAULT 'open'
                           CHECK (state IN ('open', 'solved', 'failed', 'forfeited')),
            finished_at_ms INTEGER,
            seconds        INTEGER
        );
        CREATE INDEX games_by_user ON games (user_id, state);
        CREATE TABLE settings (
            key   TEXT PRIMARY KEY,
            value TEXT NOT NULL
        );
    )sql"},
};

}  // namespace

int LatestSchemaVersion() {
    return std::span(kMigrations).back().version;
}

int SchemaVersion(sqlite::Connection& connection) {
    sqlite::Statement statement(connection, "PRAGMA user_version");
    statement.Step();
    return static_cast<int>(statement.Int(0));
}

void Migrate(sqlite::Connection& connection) {
    for (const Migration& migration : kMigrations) {
        // Read the version inside the write transaction, so two processes opening a new file
        // at once do not both apply the same migration.
        sqlite::Transaction transaction(connection, sqlite::Transaction::Mode::Immediate);
        const int current = SchemaVersion(connection);
        if (current > LatestSchemaVersion()) {
            throw sqlite::Error(SQLITE_ERROR, "the database has schema version " +
                                                  std::to_string(current) +
                                                  ", newer than this server's " +
                                                  std::to_string(LatestSchemaVersion()));
        }
        if (current >= migration.version) {
            continue;
        }
        connection.Execute(migration.sql);
        connection.Execute(("PRAGMA user_version = " + std::to_string(migration.version)).c_str());
        transaction.Commit();
    }
}

}  // namespace ladder
