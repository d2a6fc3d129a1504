#include "ladder_server/store/sqlite/sqlite_login_failures.h"

#include <algorithm>
#include <utility>

namespace ladder {

namespace {

using Lease = ConnectionPool<sqlite::Connection>::Lease;

constexpr std::pair<const char*, const char*> kStatements[] = {
    {"find_login_failures",
     "SELECT failures, last_ms, wait_until_ms FROM login_failures WHERE key = ?1"},
    // ?2 is now, ?3 the time before which a count is forgotten. SET reads the row as it was.
    {"count_login_failure",
     "INSERT INTO login_failures (key, failures, last_ms) VALUES (?1, 1, ?2) "
     "ON CONFLICT (key) DO UPDATE SET "
     "failures = CASE WHEN last_ms < ?3 THEN 1 ELSE failures + 1 END, "
     "wait_until_ms = CASE WHEN last_ms < ?3 THEN 0 ELSE wait_until_ms END, "
     "last_ms = MAX(last_ms, ?2) "
     "RETURNING failures, last_ms, wait_until_ms"},
    {"wait_login_failure",
     "UPDATE login_failures SET wait_until_ms = MAX(wait_until_ms, ?2) WHERE key = ?1"},
    {"clear_login_failures", "DELETE FROM login_failures WHERE key = ?1"},
    {"delete_forgotten_login_failures",
     "DELETE FROM login_failures WHERE last_ms < ?1 AND key IN "
     "(SELECT key FROM login_failures WHERE last_ms < ?1 ORDER BY last_ms LIMIT ?2)"},
};

}  // namespace

void PrepareLoginFailures(sqlite::Connection& connection) {
    for (const auto& [name, sql] : kStatements) {
        connection.Prepare(name, sql);
    }
}

std::vector<std::optional<FailureCount>> SqliteLoginFailures::Find(
    std::span<const std::string> keys) {
    Lease connection(pool_);
    // One read snapshot for all the keys.
    sqlite::Transaction snapshot(*connection, sqlite::Transaction::Mode::Deferred);
    std::vector<std::optional<FailureCount>> counts;
    counts.reserve(keys.size());
    for (const std::string& key : keys) {
        auto select = connection->Run("find_login_failures", key);
        counts.push_back(select->Step() ? std::optional(FailureCount{select->Int(0), select->Int(1),
                                                                     select->Int(2)})
                                        : std::nullopt);
    }
    snapshot.Commit();
    return counts;
}

std::vector<FailureCount> SqliteLoginFailures::Count(std::span<const std::string> keys,
                                                     std::int64_t nowMs,
                                                     std::int64_t forgottenBeforeMs,
                                                     const WaitFor& wait) {
    Lease connection(pool_);
    sqlite::Transaction transaction(*connection, sqlite::Transaction::Mode::Immediate);
    std::vector<FailureCount> counts(keys.size());
    for (const std::size_t index : LockOrder(keys)) {
        FailureCount& count = counts[index];
        {
            auto upsert =
                connection->Run("count_login_failure", keys[index], nowMs, forgottenBeforeMs);
            upsert->Step();
            count = FailureCount{upsert->Int(0), upsert->Int(1), upsert->Int(2)};
            upsert->Run();
        }
        if (const std::int64_t ms = wait(index, count.failures); ms > 0) {
            count.waitUntilMs = std::max(count.waitUntilMs, nowMs + ms);
            connection->Run("wait_login_failure", keys[index], count.waitUntilMs)->Run();
        }
    }
    transaction.Commit();
    return counts;
}

void SqliteLoginFailures::Clear(std::string_view key) {
    Lease connection(pool_);
    connection->Run("clear_login_failures", key)->Run();
}

std::size_t SqliteLoginFailures::DeleteForgotten(std::int64_t forgottenBeforeMs,
                                                 std::size_t limit) {
    Lease connection(pool_);
    connection
        ->Run("delete_forgotten_login_failures", forgottenBeforeMs,
              static_cast<std::int64_t>(limit))
        ->Run();
    return static_cast<std::size_t>(connection->Changes());
}

}  // namespace ladder
