// Time to make the puzzle picture, as export and printing do when their timer fires: the board
// copied from the window, encoded as a JPEG and stamped three times (four encodings in all).
// The real window (offscreen, so the copy is rendered from the widgets) with a generated
// puzzle on the board, 50 pictures, median and range.
//
//   build/release/bench/picture_bench

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "app/tool_bar.h"
#include "tests/support/recording_engine.h"
#include "tests/support/scripted_dialogs.h"

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
    options.dialogs = std::make_unique<testing_support::ScriptedDialogs>();
    TFsudoku_main window(std::move(options));
    window.show();
    QApplication::processEvents();
    window.Run(&TFsudoku_main::Timer1Timer);
    window.ToolBar->Button(QStringLiteral("ToolButton7"))->click();
    QApplication::processEvents();

    window.PicturePath = scratch.filePath(QStringLiteral("picture.jpg"));
    std::vector<double> times;
    for (int i = 0; i < 50; ++i) {
        auto start = std::chrono::steady_clock::now();
        window.CapturePuzzlePicture();
        auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "puzzle picture, 50 captures (ms): median %.2f   min %.2f   max %.2f   (%lld bytes)\n",
        (times[24] + times[25]) / 2, times.front(), times.back(),
        static_cast<long long>(QFileInfo(window.PicturePath).size()));
    return 0;
}
