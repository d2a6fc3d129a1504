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
    if (command == QLatin1String("start")) {
        timer_.start();
    } else {
        timer_.stop();
    }
}

void Stopwatch::Tick() {
    emit timeShown(ElapsedTimeText(start_, clock_()));
}

}  // namespace game
