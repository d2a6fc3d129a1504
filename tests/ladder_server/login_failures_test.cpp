// The counts of failed logins in both stores, each on a real database: what a count keeps,
// forgets and waits for, and that two servers counting one key at once lose no failure.

#include "ladder_server/store/login_failures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "tests/ladder_server/store_backends.h"
#include "tests/support/scratch_dir.h"

namespace ladder {

void PrintTo(const FailureCount& count, std::ostream* out) {
    *out << "{" << count.failures << " failures, last " << count.lastMs << ", wait until "
         << count.waitUntilMs << "}";
}

}  // namespace ladder

namespace {

using ladder::FailureCount;
using store_testing::Kind;
using Counts = std::vector<std::optional<FailureCount>>;

constexpr std::int64_t kNow = 1'700'000'000'000;
constexpr std::int64_t kForget = 900'000;

class LoginFailuresTest : public ::testing::TestWithParam<Kind> {
protected:
    testing_support::ScratchDir scratch_;
    std::unique_ptr<store_testing::Backend> backend_ =
        store_testing::MakeBackend(GetParam(), scratch_);
    std::unique_ptr<ladder::Store> store_ = backend_->Open();
};

TEST_P(LoginFailuresTest, ACountGrowsWaitsAndIsForgottenByAge) {
    // Not in their sorted order, which the store locks them in: answers keep the callers'.
    const std::vector<std::string> keys = {"u alice", "a 192.0.2.1", "p alice\n192.0.2.1"};
    // Ten seconds a failure for the second key, no wait for the others.
    const auto wait = [](std::size_t index, std::int64_t failures) -> std::int64_t {
        return index == 1 ? failures * 10'000 : 0;
    };
    const auto count = [&](std::int64_t nowMs,
                           const ladder::LoginFailures::WaitFor& waitFor) -> Counts {
        const auto counted = store_->FailedLogins().Count(keys, nowMs, nowMs - kForget, waitFor);
        return Counts(counted.begin(), counted.end());
    };
    EXPECT_EQ(store_->FailedLogins().Find(keys), Counts(3));
    EXPECT_EQ(count(kNow, wait),
              (Counts{FailureCount{1, kNow, 0}, FailureCount{1, kNow, kNow + 10'000},
                      FailureCount{1, kNow, 0}}));
    EXPECT_EQ(count(kNow + 1'000, wait)[1], (FailureCount{2, kNow + 1'000, kNow + 21'000}));
    // No wait, or a shorter one, leaves the longer wait standing.
    const auto none = [](std::size_t, std::int64_t) -> std::int64_t { return 0; };
    EXPECT_EQ(count(kNow + 2'000, none)[1], (FailureCount{3, kNow + 2'000, kNow + 21'000}));

    // Kept through a restart; a cleared key only is gone.
    store_ = backend_->Open();
    store_->FailedLogins().Clear(keys[2]);
    EXPECT_EQ(store_->FailedLogins().Find(keys),
              (Counts{FailureCount{3, kNow + 2'000, 0},
                      FailureCount{3, kNow + 2'000, kNow + 21'000}, std::nullopt}));

    // A count older than forgetting starts again, without its old wait.
    const std::int64_t later = kNow + 2'000 + kForget + 1;
    EXPECT_EQ(count(later, none), (Counts{FailureCount{1, later, 0}, FailureCount{1, later, 0},
                                          FailureCount{1, later, 0}}));

    // The cleanup deletes forgotten counts, the oldest first and no more than asked.
    const std::vector<std::string> old = {"a 192.0.2.7", "a 192.0.2.8", "a 192.0.2.9"};
    for (std::size_t i = 0; i < old.size(); ++i) {
        const std::int64_t at = kNow + static_cast<std::int64_t>(i);
        store_->FailedLogins().Count(std::span(old).subspan(i, 1), at, at - kForget, none);
    }
    EXPECT_EQ(store_->FailedLogins().DeleteForgotten(kNow + 3, 2), 2u);
    EXPECT_EQ(store_->FailedLogins().Find(old),
              (Counts{std::nullopt, std::nullopt, FailureCount{1, kNow + 2, 0}}));
    EXPECT_EQ(store_->FailedLogins().DeleteForgotten(kNow + 3, 2), 1u);
    EXPECT_EQ(store_->FailedLogins().DeleteForgotten(kNow + 3, 2), 0u);
    EXPECT_EQ(store_->FailedLogins().Find(keys)[0], (FailureCount{1, later, 0}));
}

TEST_P(LoginFailuresTest, TwoServersCountingOneKeyAtOnceLoseNoFailure) {
    // Two stores on one database, as two servers: four threads each.
    std::unique_ptr<ladder::Store> other = backend_->Open();
    const std::vector<std::string> keys = {"a 192.0.2.1", "u alice"};
    constexpr int kThreads = 8;
    constexpr int kEach = 25;
    std::vector<std::vector<std::int64_t>> seen(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            ladder::Store& store = t % 2 == 0 ? *store_ : *other;
            for (int i = 0; i < kEach; ++i) {
                const auto counted = store.FailedLogins().Count(
                    keys, kNow, kNow - kForget,
                    [](std::size_t, std::int64_t failures) { return failures * 1'000; });
                seen[t].push_back(counted[0].failures);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    // Each count saw a number of its own, and the wait set with it is the last one's.
    std::vector<std::int64_t> all;
    for (const auto& each : seen) {
        all.insert(all.end(), each.begin(), each.end());
    }
    std::sort(all.begin(), all.end());
    std::vector<std::int64_t> expected(kThreads * kEach);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(all, expected);
    const FailureCount last{kThreads * kEach, kNow, kNow + kThreads * kEach * 1'000};
    EXPECT_EQ(store_->FailedLogins().Find(keys), (Counts{last, last}));
}

INSTANTIATE_TEST_SUITE_P(BothStores, LoginFailuresTest,
                         ::testing::Values(Kind::Sqlite, Kind::Postgres), [](const auto& info) {
                             return info.param == Kind::Sqlite ? "Sqlite" : "Postgres";
                         });

}  // namespace
