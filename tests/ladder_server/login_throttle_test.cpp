// The login throttle's rules, on a real SQLite store and a clock the test moves: which logins
// must wait and for how long, what a success and time forget, and what servers sharing the
// store know of each other's failures.

#include "ladder_server/service/login_throttle.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "ladder_server/store/sqlite/sqlite_store.h"
#include "tests/ladder_server/manual_clock.h"

namespace {

using ladder::LoginThrottle;
using ladder::ThrottlePolicy;

constexpr std::int64_t kSecond = 1'000;
constexpr std::int64_t kMinute = 60 * kSecond;

TEST(LoginThrottleTest, WaitsDoubleFromASecondToAQuarterOfAnHour) {
    const ThrottlePolicy policy;
    const struct {
        std::int64_t failures;
        int freeFailures;
        std::int64_t waitMs;
    } cases[] = {
        {0, 3, 0},
        {3, 3, 0},
        {4, 3, kSecond},
        {5, 3, 2 * kSecond},
        {6, 3, 4 * kSecond},
        {13, 3, 512 * kSecond},
        {14, 3, 15 * kMinute},
        {1'000'000'000, 3, 15 * kMinute},
        {100, 100, 0},
        {101, 100, kSecond},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ladder::WaitAfterFailures(c.failures, c.freeFailures, policy), c.waitMs)
            << c.failures << " failures, " << c.freeFailures << " free";
    }
}

// Counts the cleanups the throttle asks of the store, which does them.
class CountingFailures final : public ladder::LoginFailures {
public:
    explicit CountingFailures(ladder::LoginFailures& store) : store_(store) {}
    std::vector<std::optional<ladder::FailureCount>> Find(
        std::span<const std::string> keys) override {
        return store_.Find(keys);
    }
    std::vector<ladder::FailureCount> Count(std::span<const std::string> keys, std::int64_t nowMs,
                                            std::int64_t forgottenBeforeMs,
                                            const WaitFor& wait) override {
        return store_.Count(keys, nowMs, forgottenBeforeMs, wait);
    }
    void Clear(std::string_view key) override { store_.Clear(key); }
    std::size_t DeleteForgotten(std::int64_t forgottenBeforeMs, std::size_t limit) override {
        ++cleanups;
        return store_.DeleteForgotten(forgottenBeforeMs, limit);
    }
    int cleanups = 0;

private:
    ladder::LoginFailures& store_;
};

class LoginThrottleFixture : public ::testing::Test {
protected:
    void Fail(std::string_view account, std::string_view address, int times = 1) {
        for (int i = 0; i < times; ++i) {
            throttle_.Failed(account, address);
        }
    }

    ladder_testing::ManualClock clock_;
    ladder::SqliteStore store_{":memory:", clock_};
    CountingFailures failures_{store_.FailedLogins()};
    LoginThrottle throttle_{failures_, clock_};
};

TEST_F(LoginThrottleFixture, GuessesAtOneAccountDelayOnlyThatAccountFromThatAddress) {
    Fail("alice", "192.0.2.1", 3);
    EXPECT_TRUE(throttle_.Allows("alice", "192.0.2.1"));
    // Guessing on as soon as let: each wait twice the last, up to a quarter of an hour.
    for (const std::int64_t wait : {1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 900, 900}) {
        Fail("alice", "192.0.2.1");
        EXPECT_TRUE(throttle_.KnownToWait("alice", "192.0.2.1"));
        clock_.Advance(wait * kSecond - 1);
        EXPECT_FALSE(throttle_.Allows("alice", "192.0.2.1")) << wait;
        // Bob behind the same address, and alice elsewhere, are let in all along.
        EXPECT_TRUE(throttle_.Allows("bob", "192.0.2.1")) << wait;
        EXPECT_FALSE(throttle_.KnownToWait("bob", "192.0.2.1")) << wait;
        EXPECT_TRUE(throttle_.Allows("alice", "192.0.2.2")) << wait;
        clock_.Advance(1);
        EXPECT_TRUE(throttle_.Allows("alice", "192.0.2.1")) << wait;
        EXPECT_FALSE(throttle_.KnownToWait("alice", "192.0.2.1")) << wait;
    }
}

TEST_F(LoginThrottleFixture, ASprayOverManyAccountsStopsItsAddress) {
    for (int i = 0; i < 100; ++i) {
        Fail("user" + std::to_string(i), "192.0.2.1");
    }
    EXPECT_TRUE(throttle_.Allows("bob", "192.0.2.1"));
    Fail("user100", "192.0.2.1");
    EXPECT_FALSE(throttle_.Allows("bob", "192.0.2.1"));
    EXPECT_TRUE(throttle_.KnownToWait("bob", "192.0.2.1"));
    EXPECT_TRUE(throttle_.Allows("bob", "192.0.2.2"));
    clock_.Advance(kSecond);
    Fail("user101", "192.0.2.1");
    clock_.Advance(2 * kSecond - 1);
    EXPECT_FALSE(throttle_.Allows("bob", "192.0.2.1"));
    clock_.Advance(1);
    EXPECT_TRUE(throttle_.Allows("bob", "192.0.2.1"));
    // Names no user can have count too, all as one.
    Fail(std::string(5000, 'x') + "\n\0;", "192.0.2.3", 3);
    Fail("no such user", "192.0.2.3");
    EXPECT_FALSE(throttle_.Allows("\x01", "192.0.2.3"));
    EXPECT_TRUE(throttle_.Allows("bob", "192.0.2.3"));
}

TEST_F(LoginThrottleFixture, SuccessClearsThePairAndTimeForgetsEverything) {
    // A success clears the count of its account from its address only.
    Fail("alice", "192.0.2.1", 3);
    throttle_.Succeeded("alice", "192.0.2.1");
    Fail("alice", "192.0.2.1", 3);
    EXPECT_TRUE(throttle_.Allows("alice", "192.0.2.1"));
    // The account's failures from everywhere add up: past 20, addresses that failed for it
    // wait, others do not.
    for (int i = 0; i < 15; ++i) {
        Fail("alice", "198.51.100." + std::to_string(i));
    }
    EXPECT_FALSE(throttle_.Allows("alice", "192.0.2.1"));
    EXPECT_FALSE(throttle_.Allows("alice", "198.51.100.0"));
    EXPECT_TRUE(throttle_.Allows("alice", "203.0.113.1"));
    EXPECT_TRUE(throttle_.Allows("bob", "198.51.100.0"));
    Fail("alice", "203.0.113.1");
    EXPECT_FALSE(throttle_.Allows("alice", "203.0.113.1"));

    // Still counted a quarter of an hour after the last failure, forgotten a moment later.
    clock_.Advance(15 * kMinute);
    Fail("alice", "192.0.2.1");
    EXPECT_FALSE(throttle_.Allows("alice", "192.0.2.1"));
    clock_.Advance(15 * kMinute + 1);
    Fail("alice", "192.0.2.1", 3);
    EXPECT_TRUE(throttle_.Allows("alice", "192.0.2.1"));
    EXPECT_TRUE(throttle_.Allows("alice", "198.51.100.0"));

    // Forgotten counts are deleted at a failure, at most once a minute while a cleanup
    // leaves none behind.
    const int cleanups = failures_.cleanups;
    clock_.Advance(kMinute - 1);
    Fail("carol", "192.0.2.9");
    EXPECT_EQ(failures_.cleanups, cleanups);
    clock_.Advance(1);
    Fail("carol", "192.0.2.9");
    EXPECT_EQ(failures_.cleanups, cleanups + 1);
}

TEST_F(LoginThrottleFixture, ServersOnOneStoreCountTogetherAndLearnEachOthersWaits) {
    ThrottlePolicy small;
    small.cleanupBatch = 2;
    LoginThrottle other(store_.FailedLogins(), clock_, small);
    Fail("alice", "192.0.2.1", 2);
    other.Failed("alice", "192.0.2.1");
    EXPECT_TRUE(other.Allows("alice", "192.0.2.1"));
    other.Failed("alice", "192.0.2.1");
    // The first knows of the wait only once it asks the store; a new server alike.
    EXPECT_FALSE(throttle_.KnownToWait("alice", "192.0.2.1"));
    EXPECT_FALSE(throttle_.Allows("alice", "192.0.2.1"));
    EXPECT_TRUE(throttle_.KnownToWait("alice", "192.0.2.1"));
    LoginThrottle restarted(store_.FailedLogins(), clock_);
    EXPECT_FALSE(restarted.KnownToWait("alice", "192.0.2.1"));
    EXPECT_FALSE(restarted.Allows("alice", "192.0.2.1"));

    // A cleanup that deletes a full batch leaves the next failure another one.
    clock_.Advance(16 * kMinute);
    CountingFailures counting(store_.FailedLogins());
    LoginThrottle cleaner(counting, clock_, small);
    cleaner.Failed("bob", "192.0.2.5");
    cleaner.Failed("bob", "192.0.2.5");
    EXPECT_EQ(counting.cleanups, 2);  // alice's three counts went two, then one, at a time
    cleaner.Failed("bob", "192.0.2.5");
    EXPECT_EQ(counting.cleanups, 2);
}

}  // namespace
