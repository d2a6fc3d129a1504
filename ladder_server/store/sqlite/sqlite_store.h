#pragma once

#include <memory>
#include <string>

#include "ladder_server/store/clock.h"
#include "ladder_server/store/connection_pool.h"
#include "ladder_server/store/sqlite/sqlite.h"
#include "ladder_server/store/sqlite/sqlite_login_failures.h"
#include "ladder_server/store/store.h"

namespace ladder {

// The ladder kept in one SQLite file in WAL mode, so readers never wait for the writer.
// Each call borrows a connection from a small pool; a thread never holds two. Times are
// stamped from clock, the server's wall clock in production.
class SqliteStore final : public Store {
public:
    // Opens or creates the file and brings its schema up to date; throws sqlite::Error when
    // it cannot. ":memory:" gives a private in-memory database on a single connection.
    // maxConnections (at least 1) bounds the pool; callers beyond it wait for a connection.
    // clock must outlive the store.
    SqliteStore(const std::string& path, Clock& clock, int maxConnections = 8);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    bool AddUser(const UserRecord& user) override;
    std::optional<UserRecord> FindUser(std::string_view name) override;
    bool SetUserEnabled(std::string_view name, bool enabled) override;
    bool SetUserPassword(std::string_view name, std::string_view passwordHash) override;
    std::vector<UserRecord> Users() override;

    void AddGame(const GameRecord& game) override;
    std::optional<OpenGame> FindOpenGame(std::string_view id, std::string_view userName) override;
    std::optional<std::int64_t> CloseGame(std::string_view id, GameState state) override;

    std::optional<StandingsPage> Standings(const StandingsQuery& query) override;

    VersionInfo Version() override;
    void SetVersion(const VersionInfo& version) override;

    void Export(LadderSink& sink) override;
    std::unique_ptr<LadderImport> BeginImport() override;

    bool Reachable() override;
    PoolUse ConnectionUse() const override { return pool_.Use(); }
    LoginFailures& FailedLogins() override { return failedLogins_; }

private:
    using Lease = ConnectionPool<sqlite::Connection>::Lease;
    class Import;

    static std::unique_ptr<sqlite::Connection> Open(const std::string& path);

    Clock& clock_;
    ConnectionPool<sqlite::Connection> pool_;
    SqliteLoginFailures failedLogins_{pool_};
};

}  // namespace ladder
