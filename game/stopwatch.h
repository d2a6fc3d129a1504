#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>

#include "game/time_text.h"

namespace game {

// The stopwatch of the status bar: measured from the tick count and shown every 10 ms while
// it runs. A running stopwatch can be paused: its time stands still until it is resumed and
// then goes on from where it stopped.
class Stopwatch : public QObject {
    Q_OBJECT

public:
    explicit Stopwatch(TickClock clock, QObject* parent = nullptr);

    // Restarts the count from zero; "start" runs the stopwatch, any other text stops it with
    // its last time left on show. Either way a pause ends.
    void Control(const QString& command);
    bool IsRunning() const { return timer_.isActive(); }
    // Pausing takes a running stopwatch only; resuming a paused one only.
    void Pause();
    void Resume();
    bool IsPaused() const { return paused_; }
    // Shows the time since the last Control; the running stopwatch does so every 10 ms.
    void Tick();

signals:
    void timeShown(const QString& text);
    // Started, stopped, paused or resumed.
    void stateChanged();

private:
    TickClock clock_;
    QTimer timer_;
    std::uint32_t start_ = 0;
    bool paused_ = false;
    // While paused: the ticks counted before the pause.
    std::uint32_t elapsedAtPause_ = 0;
};

}  // namespace game
