#include <gtest/gtest.h>

#include "app/status_bar.h"
#include "game/time_text.h"
#include "tests/support/window_fixture.h"

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

using Stopwatch = testing_support::WindowTest;

TEST_F(Stopwatch, StartsFromZeroFreezesOnAnyOtherCommandAndRestartsFromZero) {
    TFsudoku_main& window = ShowReady();
    auto shown = [&] {
        window.CronometroTimer();
        return window.StatusBar->PanelText(2);
    };
    ticks = 10'000;
    window.ControlStopwatch(QStringLiteral("start"));
    EXPECT_TRUE(window.Cronometro->isActive());
    EXPECT_EQ(shown(), QStringLiteral("00 : 00 : 00"));
    ticks += 3'725'000;
    EXPECT_EQ(shown(), QStringLiteral("01 : 02 : 05"));

    ticks += 5000;
    window.ControlStopwatch(QStringLiteral("Start"));  // not "start": stops
    EXPECT_FALSE(window.Cronometro->isActive());
    EXPECT_EQ(window.StatusBar->PanelText(2), QStringLiteral("01 : 02 : 05"));

    ticks += 9000;
    window.ControlStopwatch(QStringLiteral("start"));
    ticks += 2000;
    EXPECT_EQ(shown(), QStringLiteral("00 : 00 : 02"));
    EXPECT_EQ(window.Cronometro->interval(), 10);
}

}  // namespace
}  // namespace game
