// Time from a click on "New puzzle" to the board showing the new puzzle, per level: the real
// window (offscreen) and the real engine component, 20 clicks per level, median and range.
//
//   build/release/bench/new_puzzle_bench

#include <QAction>
#include <QApplication>
#include <QToolButton>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/started_window.h"
#include "board/board_grid.h"
#include "tests/support/scripted_dialogs.h"

namespace {

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

// Answers Yes to "clear the grid and create a new puzzle?".
class AlwaysYes : public testing_support::ScriptedDialogs {
public:
    bool Confirm(const QString&, toolkit::Answer) override { return true; }
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    bench::StartedWindow started(std::make_unique<AlwaysYes>());
    TFsudoku_main& window = *started;
    PaintCounter counter;
    window.findChild<board::BoardGrid*>(QStringLiteral("StringGrid"))
        ->viewport()
        ->installEventFilter(&counter);
    auto* newPuzzle = window.findChild<QToolButton*>(QStringLiteral("ToolButton7"));

    std::printf("click on \"New puzzle\" to the board painted, 20 clicks per level (ms)\n");
    for (const char* level : {"Easy", "Medium", "Hard"}) {
        window.findChild<QAction*>(QString::fromLatin1(level) + u'1')->trigger();
        std::vector<double> times;
        const int paintsBefore = counter.paints;
        for (int i = 0; i < 20; ++i) {
            auto start = std::chrono::steady_clock::now();
            newPuzzle->click();
            QApplication::processEvents();  // the board's repaint
            auto end = std::chrono::steady_clock::now();
            times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
        const bench::Timings timings = bench::Summarise(times);
        std::printf("%-7s median %6.2f   min %6.2f   max %6.2f   (board painted %d times)\n", level,
                    timings.median, timings.min, timings.max, counter.paints - paintsBefore);
    }
    return 0;
}
