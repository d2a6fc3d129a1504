#pragma once

// The two kinds of store the store tests run on, each on a real database of its own, and
// what the tests fill and compare them with.

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <pqxx/connection>

#include "ladder_server/store/clock.h"
#include "ladder_server/store/postgres/postgres_schema.h"
#include "ladder_server/store/postgres/postgres_store.h"
#include "ladder_server/store/sqlite/sqlite_schema.h"
#include "ladder_server/store/sqlite/sqlite_store.h"
#include "ladder_server/store/stored_values.h"
#include "tests/support/postgres_server.h"
#include "tests/support/scratch_dir.h"

namespace store_testing {

using ladder::GameRecord;
using ladder::GameState;
using ladder::SqliteStore;
using ladder::Store;
using ladder::UserRecord;
using testing_support::SharedPostgresServer;

inline const std::string kPuzzle =
    "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";
inline const std::string kSolution =
    "534678912672195348198342567859761423426853791713924856961537284287419635345286179";

inline UserRecord User(const std::string& name, bool enabled = true) {
    UserRecord user;
    user.name = name;
    user.passwordHash = "$argon2id$not-a-real-hash-" + name;
    user.email = name + "@example.org";
    user.enabled = enabled;
    return user;
}

inline GameRecord Game(const std::string& id, std::int64_t userId) {
    GameRecord game;
    game.id = id;
    game.userId = userId;
    game.puzzle = kPuzzle;
    game.solution = kSolution;
    game.level = ladder::LadderLevel::Hard;
    return game;
}

inline std::int64_t WallClockMs() {
    return ladder::SystemClock().NowMs();
}

// Every record of a ladder as one text, so two ladders compare in one assertion.
class RecordingSink final : public ladder::LadderSink {
public:
    void User(const UserRecord& user) override {
        text_ << "user " << user.id << ' ' << user.name << ' ' << user.passwordHash << ' '
              << user.email << ' ' << user.enabled << ' ' << user.createdAtMs << '\n';
    }
    void Game(const GameRecord& game) override {
        text_ << "game " << game.id << ' ' << game.userId << ' ' << game.puzzle << ' '
              << game.solution << ' ' << ladder::LevelText(game.level) << ' ' << game.startedAtMs
              << ' ' << ladder::StateText(game.state) << ' ' << game.finishedAtMs.value_or(-1)
              << ' ' << game.seconds.value_or(-1) << '\n';
        games_.push_back(game);
    }
    void Version(const ladder::VersionInfo& version) override {
        text_ << "version " << version.version << ' ' << version.download << '\n';
    }

    std::string Text() const { return text_.str(); }
    const std::vector<GameRecord>& Games() const { return games_; }

private:
    std::ostringstream text_;
    std::vector<GameRecord> games_;
};

inline RecordingSink Contents(Store& store) {
    RecordingSink sink;
    store.Export(sink);
    return sink;
}

// One kind of store under test, on a fresh database of its own.
class Backend {
public:
    virtual ~Backend() = default;
    // A store on this backend's database; every call opens the same database anew.
    virtual std::unique_ptr<Store> Open() = 0;
    // Runs sql straight on the database, behind the store's back.
    virtual void Execute(const std::string& sql) = 0;
    // Makes the database as a server of that schema version would, with no store open.
    virtual void MigrateTo(int version) = 0;
};

class SqliteBackend final : public Backend {
public:
    explicit SqliteBackend(const testing_support::ScratchDir& scratch)
        : path_(scratch.Path("ladder-" + std::to_string(++count_) + ".db")) {}
    std::unique_ptr<Store> Open() override { return std::make_unique<SqliteStore>(path_, clock_); }
    void Execute(const std::string& sql) override {
        ladder::sqlite::Connection(path_).Execute(sql.c_str());
    }
    void MigrateTo(int version) override {
        ladder::sqlite::Connection connection(path_);
        ladder::Migrate(connection, version);
    }

private:
    static inline int count_ = 0;
    std::string path_;
    ladder::SystemClock clock_;
};

class PostgresBackend final : public Backend {
public:
    PostgresBackend() : name_("store_" + std::to_string(++count_)) {
        url_ = SharedPostgresServer().CreateDatabase(name_);
    }
    std::unique_ptr<Store> Open() override {
        return std::make_unique<ladder::PostgresStore>(url_, 4);
    }
    void Execute(const std::string& sql) override { SharedPostgresServer().Query(name_, sql); }
    void MigrateTo(int version) override {
        pqxx::connection connection(url_);
        ladder::postgres::Migrate(connection, version);
    }

private:
    static inline int count_ = 0;
    std::string name_;
    std::string url_;
};

enum class Kind { Sqlite, Postgres };

inline std::unique_ptr<Backend> MakeBackend(Kind kind, const testing_support::ScratchDir& scratch) {
    if (kind == Kind::Sqlite) {
        return std::make_unique<SqliteBackend>(scratch);
    }
    return std::make_unique<PostgresBackend>();
}

}  // namespace store_testing
