#include "app/startup_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace app {

namespace {

double MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

QByteArray ResidentMemoryLine() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:")) {
                return line.simplified();
            }
        }
    }
    return "VmRSS: unknown";
}

class FirstPaintWatcher : public QObject {
public:
    FirstPaintWatcher(std::function<bool()> isReady, QObject* parent)
        : QObject(parent), isReady_(std::move(isReady)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            std::fprintf(stderr, "first-paint-monotonic-ms %.3f\n", MonotonicMs());
            QTimer::singleShot(5000, this, [this] {
                std::fprintf(stderr, "rss-after-5s %s\n", ResidentMemoryLine().constData());
                std::fprintf(stderr, "ready %d\n", isReady_() ? 1 : 0);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool()> isReady_;
    bool seen_ = false;
};

}  // namespace

void InstallStartupProbe(QWidget& window, std::function<bool()> isReady) {
    if (qEnvironmentVariableIsEmpty("QUILLMARK_STARTUP_PROBE")) {
        return;
    }
    window.installEventFilter(new FirstPaintWatcher(std::move(isReady), &window));
}

}  // namespace app
