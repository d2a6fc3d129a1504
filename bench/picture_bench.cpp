// Time to make the puzzle picture, as export and printing do when their timer fires: the board
// copied from the window, encoded as a JPEG and stamped three times (four encodings in all).
// The real window (offscreen) with a generated puzzle on the board, 50 pictures, median and
// range.
//
//   build/release/bench/picture_bench

#include <QApplication>
#include <QFileInfo>
#include <QToolButton>
#include <chrono>
#include <cstdio>
#include <vector>

#include "appearance/skin_colors.h"
#include "bench/started_window.h"
#include "board/board_grid.h"
#include "output/puzzle_picture.h"
#include "tests/support/scripted_dialogs.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    bench::StartedWindow window(std::make_unique<testing_support::ScriptedDialogs>());
    window->findChild<QToolButton*>(QStringLiteral("ToolButton7"))->click();
    QApplication::processEvents();

    auto* board = window->findChild<board::BoardGrid*>(QStringLiteral("StringGrid"));
    const QString path = window.ScratchFile(QStringLiteral("picture.jpg"));
    const appearance::SkinColors colors;
    std::vector<double> times;
    for (int i = 0; i < 50; ++i) {
        auto start = std::chrono::steady_clock::now();
        output::CapturePuzzlePicture(*board, path, colors);
        auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    const bench::Timings timings = bench::Summarise(times);
    std::printf(
        "puzzle picture, 50 captures (ms): median %.2f   min %.2f   max %.2f   (%lld bytes)\n",
        timings.median, timings.min, timings.max, static_cast<long long>(QFileInfo(path).size()));
    return 0;
}
