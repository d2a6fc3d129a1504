#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ladder_server/store/connection_pool.h"
#include "ladder_server/store/login_failures.h"
#include "ladder_server/store/sqlite/sqlite.h"

namespace ladder {

// Names on connection the statements SqliteLoginFailures runs: for every connection of the
// pool it uses, as the connection is opened.
void PrepareLoginFailures(sqlite::Connection& connection);

// The failed logins in the SQLite file's table login_failures, shared by every server on
// the file. Each count is taken under the file's write lock, so no failure is lost.
class SqliteLoginFailures final : public LoginFailures {
public:
    // pool must outlive this, and every connection it makes must have had
    // PrepareLoginFailures.
    explicit SqliteLoginFailures(ConnectionPool<sqlite::Connection>& pool) : pool_(pool) {}

    std::vector<std::optional<FailureCount>> Find(std::span<const std::string> keys) override;
    std::vector<FailureCount> Count(std::span<const std::string> keys, std::int64_t nowMs,
                                    std::int64_t forgottenBeforeMs, const WaitFor& wait) override;
    void Clear(std::string_view key) override;
    std::size_t DeleteForgotten(std::int64_t forgottenBeforeMs, std::size_t limit) override;

private:
    ConnectionPool<sqlite::Connection>& pool_;
};

}  // namespace ladder
