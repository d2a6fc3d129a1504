#include <gtest/gtest.h>

#include <QSignalSpy>

#include "game/stopwatch.h"
#include "game/time_text.h"

namespace game {
namespace {

TEST(TimeText, CountsWholeSecondsWithUnboundedHours) {
    EXPECT_EQ(ElapsedTimeText(1000, 1000 + 59'999), QStringLiteral("00 : 00 : 59"));
    EXPECT_EQ(ElapsedTimeText(1000, 1000 + 60'000), QStringLiteral("00 : 01 : 00"));
    EXPECT_EQ(ElapsedTimeText(0, 3'725'000), QStringLiteral("01 : 02 : 05"));
    EXPECT_EQ(TimeText(100 * 3600), QStringLiteral("100 : 00 : 00"));
    EXPECT_EQ(TimeText(59), QStringLiteral("00 : 00 : 59"));
}

TEST(TimeText, ATickCounterWrapInBetweenStillGivesTheTrueTime) {
    EXPECT_EQ(ElapsedTimeText(0xFFFFFFFFu - 29'999, 30'000), QStringLiteral("00 : 01 : 00"));
}

TEST(Stopwatch, StartsFromZeroFreezesOnAnyOtherCommandAndRestartsFromZero) {
    std::uint32_t ticks = 10'000;
    Stopwatch stopwatch([&ticks] { return ticks; });
    QSignalSpy shown(&stopwatch, &Stopwatch::timeShown);
    auto tick = [&] {
        stopwatch.Tick();
        return shown.back().at(0).toString();
    };
    stopwatch.Control(QStringLiteral("start"));
    EXPECT_TRUE(stopwatch.IsRunning());
    EXPECT_EQ(tick(), QStringLiteral("00 : 00 : 00"));
    ticks += 3'725'000;
    EXPECT_EQ(tick(), QStringLiteral("01 : 02 : 05"));

    ticks += 5000;
    stopwatch.Control(QStringLiteral("Start"));  // not "start": stops
    EXPECT_FALSE(stopwatch.IsRunning());
    const qsizetype shownWhenStopped = shown.size();

    ticks += 9000;
    stopwatch.Control(QStringLiteral("start"));
    ticks += 2000;
    // The running stopwatch shows the time by itself, every 10 ms.
    ASSERT_TRUE(shown.wait(1000));
    EXPECT_EQ(shown.back().at(0).toString(), QStringLiteral("00 : 00 : 02"));
    EXPECT_GT(shown.size(), shownWhenStopped);
}

TEST(Stopwatch, APauseHoldsTheTimeUntilResumedAndOnlyARunningStopwatchPauses) {
    std::uint32_t ticks = 0xFFFFFFFFu - 999;  // across the tick count's wrap
    Stopwatch stopwatch([&ticks] { return ticks; });
    QSignalSpy shown(&stopwatch, &Stopwatch::timeShown);
    auto tick = [&] {
        stopwatch.Tick();
        return shown.back().at(0).toString();
    };
    stopwatch.Pause();
    EXPECT_FALSE(stopwatch.IsPaused());  // nothing is timed yet
    stopwatch.Control(QStringLiteral("start"));
    ticks += 65'000;
    stopwatch.Pause();
    EXPECT_TRUE(stopwatch.IsPaused());
    EXPECT_FALSE(stopwatch.IsRunning());
    ticks += 3'600'000;
    EXPECT_EQ(tick(), QStringLiteral("00 : 01 : 05"));
    stopwatch.Resume();
    ticks += 2000;
    EXPECT_EQ(tick(), QStringLiteral("00 : 01 : 07"));
    EXPECT_TRUE(stopwatch.IsRunning());

    // A new puzzle while paused ends the pause and counts from zero.
    stopwatch.Pause();
    stopwatch.Control(QStringLiteral("start"));
    EXPECT_FALSE(stopwatch.IsPaused());
    EXPECT_EQ(tick(), QStringLiteral("00 : 00 : 00"));
    stopwatch.Control(QStringLiteral("stop"));
    stopwatch.Pause();
    EXPECT_FALSE(stopwatch.IsPaused());
}

}  // namespace
}  // namespace game
