// The stopwatch in status panel 2: measured from the tick count, redrawn every 10 ms.

#include "app/main_window.h"
#include "app/status_bar.h"

void TFsudoku_main::ControlStopwatch(const QString& command) {
    StopwatchStart = tickClock_();
    if (command == QLatin1String("start")) {
        Cronometro->start();
    } else {
        Cronometro->stop();
    }
}

void TFsudoku_main::CronometroTimer() {
    StatusBar->SetPanelText(2, game::ElapsedTimeText(StopwatchStart, tickClock_()));
}
