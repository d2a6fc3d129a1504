#pragma once

#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "app/main_window.h"
#include "toolkit/dialogs.h"

namespace bench {

// A main window for the window benchmarks, after its start-up sequence and engine start: on a
// scratch program folder of its own (the window writes its settings next to itself), with the
// built engine component and the given dialogs. Needs a QApplication, offscreen or not.
class StartedWindow {
public:
    explicit StartedWindow(std::unique_ptr<toolkit::Dialogs> dialogs);

    TFsudoku_main& operator*() { return *window_; }
    TFsudoku_main* operator->() { return window_.get(); }
    // A path inside the scratch folder, gone with the window.
    QString ScratchFile(const QString& name) const { return scratch_.filePath(name); }

private:
    QTemporaryDir scratch_;
    std::unique_ptr<TFsudoku_main> window_;
};

struct Timings {
    double median = 0;
    double min = 0;
    double max = 0;
};

// The median and range of some timings (at least one).
Timings Summarise(std::vector<double> times);

}  // namespace bench
