#include "bench/started_window.h"

#include <QApplication>
#include <algorithm>
#include <stdexcept>

#include "tests/support/recording_engine.h"

namespace bench {

StartedWindow::StartedWindow(std::unique_ptr<toolkit::Dialogs> dialogs) {
    if (!scratch_.isValid()) {
        throw std::runtime_error("cannot make a scratch folder");
    }
    MainWindowOptions options;
    options.programDir = scratch_.path() + QStringLiteral("/");
    options.engineFactory = testing_support::BuiltComponent();
    options.dialogs = std::move(dialogs);
    window_ = std::make_unique<TFsudoku_main>(std::move(options));
    window_->show();
    QApplication::processEvents();
    window_->Run(&TFsudoku_main::Timer1Timer);
}

Timings Summarise(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const std::size_t middle = times.size() / 2;
    const double median =
        times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
    return {median, times.front(), times.back()};
}

}  // namespace bench
