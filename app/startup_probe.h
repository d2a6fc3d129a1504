#pragma once

class QWidget;

namespace app {

// When the environment variable QUILLMARK_STARTUP_PROBE is set, reports on standard error
// the monotonic clock (CLOCK_MONOTONIC, in ms) at the window's first paint and the resident
// memory five seconds later, then quits. The start-up benchmark reads these two lines.
void InstallStartupProbe(QWidget& window);

}  // namespace app
