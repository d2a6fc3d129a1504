#include "ladder_server/service/login_throttle.h"

#include <algorithm>
#include <vector>

namespace ladder {

namespace {

// The three kinds of entry share one table; a key starts with its kind. Account names cannot
// hold a newline, so the pair's key is unambiguous.
std::string AddressKey(std::string_view address) {
    return std::string("a ").append(address);
}
std::string AccountKey(std::string_view account) {
    return std::string("u ").append(account);
}
std::string PairKey(std::string_view account, std::string_view address) {
    return std::string("p ").append(account).append("\n").append(address);
}

}  // namespace

const LoginThrottle::Failures* LoginThrottle::Find(const std::string& key, std::int64_t nowMs) {
    const auto found = entries_.find(key);
    if (found == entries_.end()) {
        return nullptr;
    }
    if (nowMs - found->second.lastMs > policy_.forgetAfterMs) {
        entries_.erase(found);
        return nullptr;
    }
    return &found->second;
}

bool LoginThrottle::Waiting(const std::string& key, std::int64_t nowMs) {
    const Failures* failures = Find(key, nowMs);
    return failures != nullptr && nowMs < failures->waitUntilMs;
}

void LoginThrottle::Count(const std::string& key, int freeFailures, std::int64_t nowMs) {
    Failures& failures = entries_[key];
    if (failures.count > 0 && nowMs - failures.lastMs > policy_.forgetAfterMs) {
        failures = Failures{};
    }
    ++failures.count;
    failures.lastMs = nowMs;
    const int beyond = failures.count - freeFailures;
    if (beyond > 0) {
        // firstWait, doubled for each failure after the first that had to wait, capped.
        std::int64_t wait = policy_.firstWaitMs;
        for (int i = 1; i < beyond && wait < policy_.longestWaitMs; ++i) {
            wait *= 2;
        }
        failures.waitUntilMs = nowMs + std::min(wait, policy_.longestWaitMs);
    }
}

bool LoginThrottle::Allows(std::string_view account, std::string_view address) {
    const std::int64_t nowMs = clock_.NowMs();
    std::lock_guard lock(mutex_);
    if (Waiting(AddressKey(address), nowMs)) {
        return false;
    }
    const std::string pair = PairKey(account, address);
    if (Find(pair, nowMs) == nullptr) {
        return true;  // this address has not failed for this account
    }
    return !Waiting(pair, nowMs) && !Waiting(AccountKey(account), nowMs);
}

void LoginThrottle::Failed(std::string_view account, std::string_view address) {
    const std::int64_t nowMs = clock_.NowMs();
    std::lock_guard lock(mutex_);
    if (entries_.size() + 3 > policy_.maxEntries) {
        Prune(nowMs);
    }
    Count(AddressKey(address), policy_.freeFailuresPerAddress, nowMs);
    Count(PairKey(account, address), policy_.freeFailuresPerAccountAndAddress, nowMs);
    Count(AccountKey(account), policy_.freeFailuresPerAccount, nowMs);
}

void LoginThrottle::Succeeded(std::string_view account, std::string_view address) {
    std::lock_guard lock(mutex_);
    entries_.erase(PairKey(account, address));
}

void LoginThrottle::Prune(std::int64_t nowMs) {
    std::erase_if(entries_, [&](const auto& entry) {
        return nowMs - entry.second.lastMs > policy_.forgetAfterMs;
    });
    if (entries_.size() + 3 <= policy_.maxEntries) {
        return;
    }
    // Still full of recent failures: forget the older half.
    std::vector<std::int64_t> times;
    times.reserve(entries_.size());
    for (const auto& entry : entries_) {
        times.push_back(entry.second.lastMs);
    }
    const auto middle = times.begin() + static_cast<std::ptrdiff_t>(times.size() / 2);
    std::nth_element(times.begin(), middle, times.end());
    const std::int64_t cutoff = *middle;
    std::erase_if(entries_, [cutoff](const auto& entry) { return entry.second.lastMs <= cutoff; });
}

}  // namespace ladder
