// Time from a click on "New puzzle" to the board showing the new puzzle, per level: the real
// window (offscreen) and the real engine component, 20 clicks per level, median and range.
//
//   build/release/bench/new_puzzle_bench

#include <QApplication>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "app/tool_bar.h"
#include "board/board_grid.h"
#include "tests/support/recording_engine.h"
#include "tests/support/scripted_dialogs.h"

namespace {

// Answers Yes to "clear the grid and create a new puzzle?".
// Counts the board's paints, so the timing is known to include one.
class PaintCounter : public QObject {
public:
    using QObject::QObject;
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return QObject::eventFilter(watched, event);
    }
};

class AlwaysYes : public testing_support::ScriptedDialogs {
public:
    bool Confirm(const QString&) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The window writes its settings next to itself; a scratch folder of its own keeps them.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "cannot make a scratch folder\n");
        return 1;
    }
    MainWindowOptions options;
    options.programDir = scratch.path() + QStringLiteral("/");
    options.engineFactory = testing_support::BuiltComponent();
    options.dialogs = std::make_unique<AlwaysYes>();
    TFsudoku_main window(std::move(options));
    window.show();
    QApplication::processEvents();
    window.Run(&TFsudoku_main::Timer1Timer);
    PaintCounter counter;
    window.StringGrid->viewport()->installEventFilter(&counter);
    QToolButton* newPuzzle = window.ToolBar->Button(QStringLiteral("ToolButton7"));

    std::printf("click on \"New puzzle\" to the board painted, 20 clicks per level (ms)\n");
    for (const char* level : {"Easy", "Medium", "Hard"}) {
        window.Level = QString::fromLatin1(level);
        std::vector<double> times;
        const int paintsBefore = counter.paints;
        for (int i = 0; i < 20; ++i) {
            auto start = std::chrono::steady_clock::now();
            newPuzzle->click();
            QApplication::processEvents();  // the board's repaint
            auto end = std::chrono::steady_clock::now();
            times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
        std::sort(times.begin(), times.end());
        std::printf("%-7s median %6.2f   min %6.2f   max %6.2f   (board painted %d times)\n", level,
                    (times[9] + times[10]) / 2, times.front(), times.back(),
                    counter.paints - paintsBefore);
    }
    return 0;
}
