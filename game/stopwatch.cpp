#include "game/stopwatch.h"

namespace game {

namespace {

constexpr int kTickMs = 10;

}  // namespace

Stopwatch::Stopwatch(TickClock clock, QObject* parent) : QObject(parent), clock_(std::move(clock)) {
    timer_.setParent(this);
    timer_.setObjectName(QStringLiteral("Cronometro"));
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &Stopwatch::Tick);
}

void Stopwatch::Control(const QString& command) {
    start_ = clock_();
    paused_ = false;
    if (command == QLatin1String("start")) {
        timer_.start();
    } else {
        timer_.stop();
    }
    emit stateChanged();
}

void Stopwatch::Pause() {
    if (!timer_.isActive()) {
        return;
    }
    // Unsigned arithmetic counts across the tick count's wrap.
    elapsedAtPause_ = clock_() - start_;
    timer_.stop();
    paused_ = true;
    Tick();
    emit stateChanged();
}

void Stopwatch::Resume() {
    if (!paused_) {
        return;
    }
    start_ = clock_() - elapsedAtPause_;
    paused_ = false;
    timer_.start();
    emit stateChanged();
}

void Stopwatch::Tick() {
    const std::uint32_t now = paused_ ? start_ + elapsedAtPause_ : clock_();
    emit timeShown(ElapsedTimeText(start_, now));
}

}  // namespace game
