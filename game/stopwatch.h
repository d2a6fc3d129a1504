#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>

#include "game/time_text.h"

namespace game {

// The stopwatch of the status bar: measured from the tick count and shown every 10 ms while
// it runs.
class Stopwatch : public QObject {
    Q_OBJECT

public:
    explicit Stopwatch(TickClock clock, QObject* parent = nullptr);

    // Restarts the count from zero; "start" runs the stopwatch, any other text stops it with
    // its last time left on show.
    void Control(const QString& command);
    bool IsRunning() const { return timer_.isActive(); }
    // Shows the time since the last Control; the running stopwatch does so every 10 ms.
    void Tick();

signals:
    void timeShown(const QString& text);

private:
    TickClock clock_;
    QTimer timer_;
    std::uint32_t start_ = 0;
};

}  // namespace game
