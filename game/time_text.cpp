#include "game/time_text.h"

#include <chrono>

namespace game {

namespace {

QString TwoDigits(std::uint64_t number) {
    return number < 10 ? QStringLiteral("0") + QString::number(number) : QString::number(number);
}

}  // namespace

std::uint32_t SteadyTickCount() {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

QString TimeText(std::uint64_t totalSeconds) {
    const std::uint64_t minutes = totalSeconds / 60;
    const std::uint64_t hours = minutes / 60;
    return TwoDigits(hours) + QStringLiteral(" : ") + TwoDigits(minutes % 60) +
           QStringLiteral(" : ") + TwoDigits(totalSeconds % 60);
}

QString ElapsedTimeText(std::uint32_t start, std::uint32_t now) {
    const std::uint32_t elapsedMs = now - start;  // unsigned: modulo 2^32
    return TimeText(elapsedMs / 1000);
}

}  // namespace game
