#pragma once

#include <atomic>
#include <cstdint>

#include "ladder_server/store/clock.h"

namespace ladder_testing {

// A clock that moves only when the test moves it.
class ManualClock final : public ladder::Clock {
public:
    explicit ManualClock(std::int64_t nowMs = 1'700'000'000'000) : nowMs_(nowMs) {}
    std::int64_t NowMs() override { return nowMs_; }
    void Advance(std::int64_t ms) { nowMs_ += ms; }

private:
    std::atomic<std::int64_t> nowMs_;
};

}  // namespace ladder_testing
