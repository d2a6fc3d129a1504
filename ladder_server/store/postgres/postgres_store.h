#pragma once

#include <string>

#include <pqxx/connection>

#include "ladder_server/store/connection_pool.h"
#include "ladder_server/store/postgres/postgres_login_failures.h"
#include "ladder_server/store/store.h"

namespace ladder {

// The ladder kept in a PostgreSQL database, which several server processes on several
// machines may share: every game closes in one statement that only the first of two
// closings passes, and every time is the database server's clock. Each call borrows a
// connection from a small pool and runs as one statement, so a call that
// throws changed nothing or committed whole.
class PostgresStore final : public Store {
public:
    // url: postgresql://... or postgres://... as libpq reads it (user, password, host or
    // socket folder, database, options). Connects, brings the schema up to date and throws
    // when it cannot. maxConnections (at least 1) bounds the pool.
    explicit PostgresStore(const std::string& url, int maxConnections = 8);
    ~PostgresStore() override;
    PostgresStore(const PostgresStore&) = delete;
    PostgresStore& operator=(const PostgresStore&) = delete;

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
    class Import;

    ConnectionPool<pqxx::connection> pool_;
    PostgresLoginFailures failedLogins_{pool_};
};

}  // namespace ladder
