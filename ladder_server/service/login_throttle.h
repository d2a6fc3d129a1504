#pragma once

// Failed logins, remembered for a while so that guessing passwords gets slow: after a few
// failures a client address, or an account from one address, must wait before its next login
// is even checked, and the wait doubles with every further failure. A login that must wait is
// refused at once, without hashing, and answered as any refusal is.
//
// A player who knows their password is never shut out by somebody else's guesses: the
// waits fall on the addresses that failed. Failures against one account from many addresses
// add up too, but they delay only addresses that have failed for that account themselves.
//
// Thread-safe. The memory it takes is bounded (Policy::maxEntries); failures are forgotten
// after Policy::forgetAfter.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "ladder_server/store/clock.h"

namespace ladder {

struct ThrottlePolicy {
    // Failures allowed before the first wait: from one address for any account, for one
    // account from one address, and for one account from all addresses together.
    int freeFailuresPerAddress = 10;
    int freeFailuresPerAccountAndAddress = 3;
    int freeFailuresPerAccount = 20;
    std::int64_t firstWaitMs = 1'000;
    std::int64_t longestWaitMs = 15 * 60'000;
    std::int64_t forgetAfterMs = 15 * 60'000;
    std::size_t maxEntries = 100'000;
};

class LoginThrottle {
public:
    // clock must outlive the throttle.
    explicit LoginThrottle(Clock& clock, ThrottlePolicy policy = {})
        : clock_(clock), policy_(policy) {}

    // Whether a login for account from address may be checked now.
    bool Allows(std::string_view account, std::string_view address);
    // A login that was checked and failed (an unknown account or a wrong password).
    void Failed(std::string_view account, std::string_view address);
    // A login that was checked and matched: that address owes nothing for that account.
    void Succeeded(std::string_view account, std::string_view address);

private:
    struct Failures {
        int count = 0;
        std::int64_t lastMs = 0;
        std::int64_t waitUntilMs = 0;
    };

    // The entry of key, or null when there is none or it has been forgotten.
    const Failures* Find(const std::string& key, std::int64_t nowMs);
    void Count(const std::string& key, int freeFailures, std::int64_t nowMs);
    bool Waiting(const std::string& key, std::int64_t nowMs);
    // Drops forgotten entries, and the oldest ones while there are still too many.
    void Prune(std::int64_t nowMs);

    Clock& clock_;
    ThrottlePolicy policy_;
    std::mutex mutex_;
    std::unordered_map<std::string, Failures> entries_;
};

}  // namespace ladder
