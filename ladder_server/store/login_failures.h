#pragma once

// Failed logins as the login throttle counts them, kept in the store so that every server
// sharing it counts them together and a restart forgets none. A count belongs to a key, a
// text the throttle makes (an address, an account, or both); the store knows nothing of what
// a key stands for, nor of how long a count calls to wait. Like every member of Store, each
// call may come from several threads and servers at once and throws std::runtime_error when
// the storage fails. Times are the caller's, in milliseconds since the Unix epoch.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <numeric>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ladder {

// The failures counted for a key.
struct FailureCount {
    std::int64_t failures = 0;     // since the count was last forgotten; at least 1
    std::int64_t lastMs = 0;       // the time of the latest failure
    std::int64_t waitUntilMs = 0;  // no login of the key is to be checked before this

    bool operator==(const FailureCount&) const = default;
};

class LoginFailures {
public:
    virtual ~LoginFailures() = default;

    // The wait in milliseconds, 0 for none, that the key at index of Count's keys must keep
    // after its new count of failures. Runs while Count's transaction holds the key: it must
    // not call the store.
    using WaitFor = std::function<std::int64_t(std::size_t index, std::int64_t failures)>;

    // The stored count of each of keys, in their order; nothing for a key without one. A
    // count is returned however old it is: whether it is forgotten is the caller's rule.
    virtual std::vector<std::optional<FailureCount>> Find(std::span<const std::string> keys) = 0;

    // Counts one more failure at nowMs for each of keys, in one transaction. A count whose
    // latest failure is before forgottenBeforeMs starts again at 1, without a wait. Each key
    // then waits at least until nowMs + wait(index, its new count); a longer wait it had
    // stays. Of two servers counting one key at once, both count. Gives the new counts, in the
    // order of keys; when it throws, no key was counted.
    virtual std::vector<FailureCount> Count(std::span<const std::string> keys, std::int64_t nowMs,
                                            std::int64_t forgottenBeforeMs,
                                            const WaitFor& wait) = 0;

    // Forgets the count of key; nothing when it has none.
    virtual void Clear(std::string_view key) = 0;

    // Deletes at most limit counts whose latest failure is before forgottenBeforeMs, the
    // oldest first, and gives how many went: limit means that more may be left.
    virtual std::size_t DeleteForgotten(std::int64_t forgottenBeforeMs, std::size_t limit) = 0;
};

// The order in which a store takes the rows of keys within one transaction: the same for
// every caller, so that two transactions that hold some keys in common never wait for each
// other in a circle.
inline std::vector<std::size_t> LockOrder(std::span<const std::string> keys) {
    std::vector<std::size_t> order(keys.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(),
              [keys](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}

}  // namespace ladder
