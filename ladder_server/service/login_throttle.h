#pragma once

// Failed logins, counted so that guessing passwords gets slow: after a few failures a client
// address, or an account from one address, must wait before its next login is even checked,
// and the wait doubles with every further failure. A login that must wait is refused at once,
// without hashing, and answered as any refusal is.
//
// The counts are kept in the store (LoginFailures): every server sharing it counts them
// together, so N servers behind one front give a guesser no more tries than one, and a
// restart forgets none.
//
// A player who knows their password is never shut out by somebody else's guesses at their
// account: the waits fall on the addresses that failed. Failures against one account from many
// addresses add up too, but they delay only addresses that have failed for that account
// themselves. The failures from one address add up over all its accounts, but only a great
// many of them (a spray over many accounts) delay the address's other players.
//
// Thread-safe. Failures are forgotten policy.forgetAfterMs after the latest one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "ladder_server/store/clock.h"
#include "ladder_server/store/login_failures.h"

namespace ladder {

struct ThrottlePolicy {
    // Failures allowed before the first wait: for one account from one address, and for one
    // account from all addresses together.
    int freeFailuresPerAccountAndAddress = 3;
    int freeFailuresPerAccount = 20;
    // And from one address for all accounts together. Many players may share an address (a
    // school, a carrier's NAT). A guesser of one account is held back by the count of that
    // account and address already: with its doubling waits it fails about a dozen times in
    // the first quarter of an hour and about once a quarter of an hour after. This count is
    // for a spray over many accounts, each tried too few times to wait for it; 100 leaves
    // room for several such guessers and for the typos of a crowd, while a spray must wait
    // after 100 guesses, and for longestWaitMs after eleven more.
    int freeFailuresPerAddress = 100;
    std::int64_t firstWaitMs = 1'000;  // at least 1
    std::int64_t longestWaitMs = 15 * 60'000;
    std::int64_t forgetAfterMs = 15 * 60'000;
    // How often at most a server deletes forgotten counts from the store, and how many at a
    // time; after a full batch the next failure deletes another.
    std::int64_t cleanupEveryMs = 60'000;
    std::size_t cleanupBatch = 1'000;
    // The waits a server remembers itself (KnownToWait), at most; 0 for none.
    std::size_t maxKnownWaits = 100'000;
};

// The wait in milliseconds that the failures-th failure of a count calls for, when
// freeFailures are free: none up to freeFailures, then policy.firstWaitMs, doubled for each
// failure after the first that had to wait, at most policy.longestWaitMs.
std::int64_t WaitAfterFailures(std::int64_t failures, int freeFailures,
                               const ThrottlePolicy& policy);

class LoginThrottle {
public:
    // failures and clock must outlive the throttle.
    LoginThrottle(LoginFailures& failures, Clock& clock, ThrottlePolicy policy = {})
        : failures_(failures), clock_(clock), policy_(policy) {}

    // Whether this server knows, from the waits it has met itself, that a login for account
    // from address must wait now. Never asks the store and never throws, so it may run where
    // nothing may block (the event loop); false does not mean the login may be checked.
    bool KnownToWait(std::string_view account, std::string_view address);
    // Whether a login for account from address may be checked now, by the failures counted
    // in the store.
    bool Allows(std::string_view account, std::string_view address);
    // A login that was checked and failed (an unknown account or a wrong password). Now and
    // then it also deletes forgotten counts.
    void Failed(std::string_view account, std::string_view address);
    // A login that was checked and matched: that address owes nothing for that account.
    void Succeeded(std::string_view account, std::string_view address);

private:
    // The counts a login is checked against: its address's, its account's from its address
    // (the pair), and its account's.
    enum Kind : std::size_t { kAddress, kPair, kAccount };
    using Keys = std::array<std::string, 3>;
    static Keys KeysOf(std::string_view account, std::string_view address);

    // Whether the counts (of KeysOf, in order; null for none) make a login wait at nowMs;
    // the waits found are remembered.
    bool Learn(const Keys& keys, const std::array<const FailureCount*, 3>& counts,
               std::int64_t nowMs);
    void Remember(const std::string& key, std::int64_t untilMs, std::int64_t nowMs);
    void CleanUpNowAndThen(std::int64_t nowMs);

    LoginFailures& failures_;
    Clock& clock_;
    const ThrottlePolicy policy_;
    std::mutex mutex_;
    // The time until which a login of an address key or a pair key must wait, as far as this
    // server has seen: never longer than the store's wait, so it only saves asking.
    std::unordered_map<std::string, std::int64_t> knownWaits_;
    std::int64_t nextCleanupMs_ = 0;
};

}  // namespace ladder
