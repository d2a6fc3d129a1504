#pragma once

#include <chrono>
#include <cstdint>

namespace ladder {

// The server's wall clock, in milliseconds since the Unix epoch. The SQLite store stamps a
// game's start and finish by it, so official times hold across restarts; tests give a
// clock they can move.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t NowMs() = 0;
};

class SystemClock final : public Clock {
public:
    std::int64_t NowMs() override {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::system_clock::now().time_since_epoch())
            .count();
    }
};

}  // namespace ladder
