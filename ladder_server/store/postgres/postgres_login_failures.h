#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <pqxx/connection>

#include "ladder_server/store/connection_pool.h"
#include "ladder_server/store/login_failures.h"

namespace ladder {

// Names on connection the statements PostgresLoginFailures runs: for every connection of the
// pool it uses, as the connection is made.
void PrepareLoginFailures(pqxx::connection& connection);

// The failed logins in the database's table login_failures, shared by every server on the
// database. A count holds its row's lock until its transaction ends, so a second server
// counting the same key waits for the first and counts on from its result.
class PostgresLoginFailures final : public LoginFailures {
public:
    // pool must outlive this, and every connection it makes must have had
    // PrepareLoginFailures.
    explicit PostgresLoginFailures(ConnectionPool<pqxx::connection>& pool) : pool_(pool) {}

    // Keys must not hold a NUL character (std::invalid_argument).
    std::vector<std::optional<FailureCount>> Find(std::span<const std::string> keys) override;
    std::vector<FailureCount> Count(std::span<const std::string> keys, std::int64_t nowMs,
                                    std::int64_t forgottenBeforeMs, const WaitFor& wait) override;
    void Clear(std::string_view key) override;
    std::size_t DeleteForgotten(std::int64_t forgottenBeforeMs, std::size_t limit) override;

private:
    ConnectionPool<pqxx::connection>& pool_;
};

}  // namespace ladder
