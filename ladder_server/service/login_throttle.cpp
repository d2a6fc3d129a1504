#include "ladder_server/service/login_throttle.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "ladder_server/service/user_name.h"

namespace ladder {

std::int64_t WaitAfterFailures(std::int64_t failures, int freeFailures,
                               const ThrottlePolicy& policy) {
    const std::int64_t beyond = failures - freeFailures;
    if (beyond <= 0) {
        return 0;
    }
    std::int64_t wait = policy.firstWaitMs;
    for (std::int64_t i = 1; i < beyond && wait > 0 && wait < policy.longestWaitMs; ++i) {
        wait *= 2;
    }
    return std::min(wait, policy.longestWaitMs);
}

LoginThrottle::Keys LoginThrottle::KeysOf(std::string_view account, std::string_view address) {
    // A text no user can have as a name matches no account: all of them share one count, so
    // what a client sends as a name never makes a key longer or stranger than a name. Names
    // hold no newline, so the pair's key is unambiguous.
    const std::string_view name = IsValidUserName(account) ? account : "?";
    return Keys{std::string("a ").append(address),
                std::string("p ").append(name).append("\n").append(address),
                std::string("u ").append(name)};
}

bool LoginThrottle::Learn(const Keys& keys, const std::array<const FailureCount*, 3>& counts,
                          std::int64_t nowMs) {
    // A count's wait, ended early when the count is forgotten first.
    const auto refusesUntil = [this](const FailureCount* count) -> std::int64_t {
        return count == nullptr
                   ? 0
                   : std::min(count->waitUntilMs, count->lastMs + policy_.forgetAfterMs + 1);
    };
    const std::int64_t addressUntil = refusesUntil(counts[kAddress]);
    // The account's wait holds only for an address with failures of its own for the account.
    const std::int64_t pairUntil =
        counts[kPair] == nullptr
            ? 0
            : std::min(std::max(refusesUntil(counts[kPair]), refusesUntil(counts[kAccount])),
                       counts[kPair]->lastMs + policy_.forgetAfterMs + 1);
    if (addressUntil > nowMs) {
        Remember(keys[kAddress], addressUntil, nowMs);
    }
    if (pairUntil > nowMs) {
        Remember(keys[kPair], pairUntil, nowMs);
    }
    return addressUntil > nowMs || pairUntil > nowMs;
}

void LoginThrottle::Remember(const std::string& key, std::int64_t untilMs, std::int64_t nowMs) {
    if (policy_.maxKnownWaits == 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    if (knownWaits_.size() >= policy_.maxKnownWaits && !knownWaits_.contains(key)) {
        std::erase_if(knownWaits_, [nowMs](const auto& known) { return known.second <= nowMs; });
        // Still mostly current waits: start over rather than sweep again at the next one. The
        // store keeps every wait; only the asking is saved.
        if (knownWaits_.size() >= policy_.maxKnownWaits / 4 * 3) {
            knownWaits_.clear();
        }
    }
    std::int64_t& known = knownWaits_[key];
    known = std::max(known, untilMs);
}

bool LoginThrottle::KnownToWait(std::string_view account, std::string_view address) {
    const Keys keys = KeysOf(account, address);
    const std::int64_t nowMs = clock_.NowMs();
    std::lock_guard lock(mutex_);
    for (const Kind kind : {kAddress, kPair}) {
        const auto known = knownWaits_.find(keys[kind]);
        if (known == knownWaits_.end()) {
            continue;
        }
        if (nowMs < known->second) {
            return true;
        }
        knownWaits_.erase(known);
    }
    return false;
}

bool LoginThrottle::Allows(std::string_view account, std::string_view address) {
    const Keys keys = KeysOf(account, address);
    const std::vector<std::optional<FailureCount>> found = failures_.Find(keys);
    const std::int64_t nowMs = clock_.NowMs();
    std::array<const FailureCount*, 3> counts{};
    for (std::size_t i = 0; i < counts.size(); ++i) {
        // A forgotten count the cleanup has not deleted yet is no count.
        if (found[i] && nowMs - found[i]->lastMs <= policy_.forgetAfterMs) {
            counts[i] = &*found[i];
        }
    }
    return !Learn(keys, counts, nowMs);
}

void LoginThrottle::Failed(std::string_view account, std::string_view address) {
    const Keys keys = KeysOf(account, address);
    const std::array<int, 3> freeFailures{policy_.freeFailuresPerAddress,
                                          policy_.freeFailuresPerAccountAndAddress,
                                          policy_.freeFailuresPerAccount};
    const std::int64_t nowMs = clock_.NowMs();
    const std::vector<FailureCount> counted = failures_.Count(
        keys, nowMs, nowMs - policy_.forgetAfterMs, [&](std::size_t index, std::int64_t failures) {
            return WaitAfterFailures(failures, freeFailures[index], policy_);
        });
    Learn(keys, {&counted[kAddress], &counted[kPair], &counted[kAccount]}, nowMs);
    CleanUpNowAndThen(nowMs);
}

void LoginThrottle::Succeeded(std::string_view account, std::string_view address) {
    const Keys keys = KeysOf(account, address);
    failures_.Clear(keys[kPair]);
    std::lock_guard lock(mutex_);
    knownWaits_.erase(keys[kPair]);
}

void LoginThrottle::CleanUpNowAndThen(std::int64_t nowMs) {
    {
        std::lock_guard lock(mutex_);
        if (nowMs < nextCleanupMs_) {
            return;
        }
        nextCleanupMs_ = nowMs + policy_.cleanupEveryMs;
    }
    const std::size_t deleted =
        failures_.DeleteForgotten(nowMs - policy_.forgetAfterMs, policy_.cleanupBatch);
    if (deleted >= policy_.cleanupBatch) {
        std::lock_guard lock(mutex_);
        nextCleanupMs_ = nowMs;
    }
}

}  // namespace ladder
