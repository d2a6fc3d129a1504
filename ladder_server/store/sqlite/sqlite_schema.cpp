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
    // The standings, kept per player as games start and close instead of added up over every
    // game for each reader; built here from the games so far. best_seconds holds
    // kNoBestSeconds until a game is solved, so it sorts after every time. standing_groups
    // counts the players of each (solved, best_seconds) and standing_levels those of each
    // solved, so a place is two small sums rather than a count over the players ahead.
    // login_failures keeps the login throttle's counts, shared by the servers of one file.
    {2, R"sql(
        CREATE TABLE standings (
            user_id      INTEGER PRIMARY KEY REFERENCES users (id),
            name         TEXT NOT NULL UNIQUE,
            solved       INTEGER NOT NULL DEFAULT 0,
            best_seconds INTEGER NOT NULL DEFAULT 9223372036854775807
        );
        INSERT INTO standings (user_id, name, solved, best_seconds)
            SELECT u.id, u.name, COUNT(CASE WHEN g.state = 'solved' THEN 1 END),
                   COALESCE(MIN(CASE WHEN g.state = 'solved' THEN g.seconds END),
                            9223372036854775807)
            FROM users u JOIN games g ON g.user_id = u.id GROUP BY u.id;
        CREATE INDEX standings_by_rank ON standings (solved DESC, best_seconds, name);

        CREATE TABLE standing_groups (
            solved       INTEGER NOT NULL,
            best_seconds INTEGER NOT NULL,
            players      INTEGER NOT NULL,
            PRIMARY KEY (solved, best_seconds)
        ) WITHOUT ROWID;
        INSERT INTO standing_groups
            SELECT solved, best_seconds, COUNT(*) FROM standings GROUP BY solved, best_seconds;
        CREATE TABLE standing_levels (
            solved  INTEGER PRIMARY KEY,
            players INTEGER NOT NULL
        );
        INSERT INTO standing_levels SELECT solved, COUNT(*) FROM standings GROUP BY solved;

        CREATE TRIGGER standing_added AFTER INSERT ON standings BEGIN
            INSERT INTO standing_groups VALUES (new.solved, new.best_seconds, 1)
                ON CONFLICT DO UPDATE SET players = players + 1;
            INSERT INTO standing_levels VALUES (new.solved, 1)
                ON CONFLICT DO UPDATE SET players = players + 1;
        END;
        CREATE TRIGGER standing_moved AFTER UPDATE ON standings BEGIN
            UPDATE standing_groups SET players = players - 1
                WHERE solved = old.solved AND best_seconds = old.best_seconds;
            INSERT INTO standing_groups VALUES (new.solved, new.best_seconds, 1)
                ON CONFLICT DO UPDATE SET players = players + 1;
            UPDATE standing_levels SET players = players - 1 WHERE solved = old.solved;
            INSERT INTO standing_levels VALUES (new.solved, 1)
                ON CONFLICT DO UPDATE SET players = players + 1;
        END;

        -- A player enters the standings with their first game, and a game enters them when
        -- it is solved: by a finish, or by a copy of a ladder that brings it solved.
        CREATE TRIGGER game_started AFTER INSERT ON games BEGIN
            INSERT INTO standings (user_id, name)
                SELECT id, name FROM users WHERE id = new.user_id
                ON CONFLICT DO NOTHING;
            UPDATE standings
                SET solved = solved + 1,
                    best_seconds = MIN(best_seconds, COALESCE(new.seconds, best_seconds))
                WHERE user_id = new.user_id AND new.state = 'solved';
        END;
        CREATE TRIGGER game_solved AFTER UPDATE OF state ON games
        WHEN old.state <> 'solved' AND new.state = 'solved' BEGIN
            UPDATE standings
                SET solved = solved + 1,
                    best_seconds = MIN(best_seconds, COALESCE(new.seconds, best_seconds))
                WHERE user_id = new.user_id;
        END;

        CREATE TABLE login_failures (
            key           TEXT PRIMARY KEY,
            failures      INTEGER NOT NULL,
            last_ms       INTEGER NOT NULL,
            wait_until_ms INTEGER NOT NULL DEFAULT 0
        );
        CREATE INDEX login_failures_by_age ON login_failures (last_ms);
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

void Migrate(sqlite::Connection& connection, int version) {
    for (const Migration& migration : kMigrations) {
        if (migration.version > version) {
            break;
        }
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
