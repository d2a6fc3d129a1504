#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "app/main_window.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_engine.h"
#include "tests/support/scripted_dialogs.h"

namespace testing_support {

// Waits, processing events, until condition holds or timeoutMs pass; returns the condition.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

// A main window on a fresh program directory of its own, with scripted dialogs and the real
// engine component behind a recorder.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The program directory has the installed skins unless a test made its own skin folder
    // before the window.
    // Makes the window; tests that need another engine set factory first.
    TFsudoku_main& MakeWindow(engine::ClassObjectFactory factory = {});
    // Shows the window and waits for the start-up sequence to finish.
    TFsudoku_main& ShowConfigured();
    // Shows the window, runs the start-up sequence and starts the engine at once, without
    // waiting for the two-second timer.
    TFsudoku_main& ShowReady();

    TFsudoku_main& Window() { return *window_; }
    ScriptedDialogs& Boxes() { return *dialogs_; }
    RecordingEngine& Engine() { return recorder_; }
    QString ProgramDir() const { return programDir_.path() + u'/'; }

    // The stopwatch's tick count: tests move it by hand.
    std::uint32_t ticks = 0;
    // The addresses the program asked the desktop to open, in order.
    const QStringList& Opened() const { return opened_; }

    // Input as the player gives it: a click on a board cell, keys typed where the keyboard
    // focus is.
    void ClickCell(int column, int row);
    void Type(const QString& keys);
    void Press(Qt::Key key);
    // The engine's current grid text.
    QString EngineGrid();
    // The scrivi_cella calls made since the last ClearCalls, as "row,column,value" with the
    // value as text or as the integer 0.
    QStringList CellWrites();

private:
    QTemporaryDir programDir_;
    RecordingEngine recorder_{BuiltComponent()};
    ScriptedDialogs* dialogs_ = nullptr;
    QStringList opened_;
    std::unique_ptr<TFsudoku_main> window_;
};

}  // namespace testing_support
