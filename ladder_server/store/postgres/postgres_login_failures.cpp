#include "ladder_server/store/postgres/postgres_login_failures.h"

#include <pqxx/nontransaction>
#include <pqxx/result>
#include <pqxx/transaction>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "ladder_server/store/postgres/postgres.h"

namespace ladder {

namespace {

constexpr std::pair<const char*, const char*> kStatements[] = {
    {"find_login_failures",
     "SELECT failures, last_ms, wait_until_ms FROM login_failures WHERE key = $1"},
    // $2 is now, $3 the time before which a count is forgotten. SET reads the row as it was.
    {"count_login_failure",
     "INSERT INTO login_failures AS f (key, failures, last_ms) VALUES ($1, 1, $2) "
     "ON CONFLICT (key) DO UPDATE SET "
     "failures = CASE WHEN f.last_ms < $3 THEN 1 ELSE f.failures + 1 END, "
     "wait_until_ms = CASE WHEN f.last_ms < $3 THEN 0 ELSE f.wait_until_ms END, "
     "last_ms = GREATEST(f.last_ms, $2) "
     "RETURNING f.failures, f.last_ms, f.wait_until_ms"},
    {"wait_login_failure",
     "UPDATE login_failures SET wait_until_ms = GREATEST(wait_until_ms, $2) WHERE key = $1"},
    {"clear_login_failures", "DELETE FROM login_failures WHERE key = $1"},
    // Rows a count holds are left for the next time, so a cleanup never waits for a login.
    // The outer condition is checked again on a row a count changed meanwhile.
    {"delete_forgotten_login_failures",
     "DELETE FROM login_failures WHERE last_ms < $1 AND key IN "
     "(SELECT key FROM login_failures WHERE last_ms < $1 ORDER BY last_ms LIMIT $2 "
     "FOR UPDATE SKIP LOCKED)"},
};

void RequireStorable(std::span<const std::string> keys) {
    for (const std::string& key : keys) {
        if (!postgres::Storable(key)) {
            throw std::invalid_argument("a key with a NUL character cannot be stored");
        }
    }
}

FailureCount ReadCount(const pqxx::row& row) {
    return FailureCount{row[0].as<std::int64_t>(), row[1].as<std::int64_t>(),
                        row[2].as<std::int64_t>()};
}

}  // namespace

void PrepareLoginFailures(pqxx::connection& connection) {
    for (const auto& [name, sql] : kStatements) {
        connection.prepare(name, sql);
    }
}

std::vector<std::optional<FailureCount>> PostgresLoginFailures::Find(
    std::span<const std::string> keys) {
    RequireStorable(keys);
    return pool_.Run([&](pqxx::connection& connection) {
        pqxx::read_transaction transaction(connection);
        std::vector<std::optional<FailureCount>> counts;
        counts.reserve(keys.size());
        for (const std::string& key : keys) {
            const auto rows = transaction.exec_prepared("find_login_failures", key);
            counts.push_back(rows.empty() ? std::nullopt : std::optional(ReadCount(rows[0])));
        }
        transaction.commit();
        return counts;
    });
}

std::vector<FailureCount> PostgresLoginFailures::Count(std::span<const std::string> keys,
                                                       std::int64_t nowMs,
                                                       std::int64_t forgottenBeforeMs,
                                                       const WaitFor& wait) {
    RequireStorable(keys);
    return pool_.Run([&](pqxx::connection& connection) {
        pqxx::work transaction(connection);
        std::vector<FailureCount> counts(keys.size());
        for (const std::size_t index : LockOrder(keys)) {
            FailureCount& count = counts[index];
            count = ReadCount(transaction.exec_prepared1("count_login_failure", keys[index], nowMs,
                                                         forgottenBeforeMs));
            if (const std::int64_t ms = wait(index, count.failures); ms > 0) {
                count.waitUntilMs = std::max(count.waitUntilMs, nowMs + ms);
                transaction.exec_prepared0("wait_login_failure", keys[index], count.waitUntilMs);
            }
        }
        transaction.commit();
        return counts;
    });
}

void PostgresLoginFailures::Clear(std::string_view key) {
    const std::string stored(key);
    RequireStorable(std::span(&stored, 1));
    pool_.Run([&](pqxx::connection& connection) {
        pqxx::nontransaction transaction(connection);
        transaction.exec_prepared0("clear_login_failures", stored);
    });
}

std::size_t PostgresLoginFailures::DeleteForgotten(std::int64_t forgottenBeforeMs,
                                                   std::size_t limit) {
    return pool_.Run([&](pqxx::connection& connection) {
        pqxx::nontransaction transaction(connection);
        return static_cast<std::size_t>(transaction
                                            .exec_prepared("delete_forgotten_login_failures",
                                                           forgottenBeforeMs,
                                                           static_cast<std::int64_t>(limit))
                                            .affected_rows());
    });
}

}  // namespace ladder
