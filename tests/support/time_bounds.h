#pragma once

#include <chrono>
#include <thread>

namespace testing_support {

// How much longer the program takes under the address sanitizer, which checks every memory
// access of our own code: a bound that stands for a player's patience is stretched by this
// much there, and kept as it is in the build players get.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr int kSanitizerSlowdown = 4;
#else
inline constexpr int kSanitizerSlowdown = 1;
#endif

// A bound of ms milliseconds in a normal build.
inline constexpr std::chrono::milliseconds PatienceOf(int ms) {
    return std::chrono::milliseconds(ms * kSanitizerSlowdown);
}

// Whether condition() came true within bound, asked again every millisecond.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds bound) {
    const auto giveUp = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

}  // namespace testing_support
