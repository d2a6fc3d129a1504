#pragma once

#include <functional>

class QWidget;

namespace app {

// When the environment variable QUILLMARK_STARTUP_PROBE is set, reports on standard error
// the monotonic clock (CLOCK_MONOTONIC, in ms) at the window's first paint, and five seconds
// later the resident memory and whether the window is ready (its engine started), then quits.
// The start-up benchmark and the installed game's test read these lines.
void InstallStartupProbe(QWidget& window, std::function<bool()> isReady);

}  // namespace app
