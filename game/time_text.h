#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace game {

// The system's millisecond tick count, as an unsigned 32-bit number that wraps.
using TickClock = std::function<std::uint32_t()>;

// A steady clock in milliseconds, cut to 32 bits.
std::uint32_t SteadyTickCount();

// Hours, minutes and seconds of a number of seconds: "hh : mm : ss", each part below 10
// with a leading zero; hours are not limited ("100 : 00 : 00").
QString TimeText(std::uint64_t totalSeconds);

// The time text of the whole seconds from start to now, both tick counts; the difference
// is taken modulo 2^32, so a wrap of the counter in between still gives the right time.
QString ElapsedTimeText(std::uint32_t start, std::uint32_t now);

}  // namespace game
