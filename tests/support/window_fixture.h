#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <QToolButton>
#include <memory>
#include <optional>
#include <stdexcept>

#include "app/main_window.h"
#include "app/status_bar.h"
#include "board/board_grid.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_engine.h"
#include "tests/support/scripted_dialogs.h"

namespace board {
class BoardGrid;
}

namespace testing_support {

// Waits, processing events, until condition holds or timeoutMs pass; returns the condition.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000);

// A main window on a fresh program directory of its own, with scripted dialogs and the real
// engine component behind a recorder. Tests look at the window as the player does: its
// widgets by their design names, the boxes shown, the files written and the engine's grid.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The program directory has the installed skins unless a test made its own skin folder
    // before the window. Tests that need another engine give its factory.
    TFsudoku_main& MakeWindow(engine::ClassObjectFactory factory = {});
    // The same with the program's real message boxes and dialogs: Boxes() is not to be used.
    TFsudoku_main& MakeWindowWithRealBoxes();
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
    // Whether the window is told the system has a printer; unset, it asks the print system.
    std::optional<bool> printer;
    // The addresses the program asked the desktop to open, in order.
    const QStringList& Opened() const { return opened_; }

    // A widget, action or object of the window by its object name (any when empty); raises
    // std::out_of_range when there is none.
    template <typename T>
    T& Find(const QString& name = {}) {
        T* found = window_->findChild<T*>(name);
        if (found == nullptr) {
            throw std::out_of_range("the window has no " + name.toStdString());
        }
        return *found;
    }
    QAction& MenuItem(const char* name) { return Find<QAction>(QString::fromLatin1(name)); }
    QToolButton& ToolButton(const char* name) {
        return Find<QToolButton>(QString::fromLatin1(name));
    }
    QString Panel(app::StatusPanel panel);
    QLabel& Splash() { return Find<QLabel>(QStringLiteral("Splash_Panel")); }
    board::BoardGrid& Board();
    QString Cell(int column, int row);
    // Whether the board tells assistive technology that the cell is locked.
    bool Locked(int column, int row);
    // The board cells that show a digit.
    int FilledCells();
    bool StopwatchRunning();

    // Input as the player gives it: a click on a board cell, keys typed where the keyboard
    // focus is, and a click on a cell followed by a digit.
    void ClickCell(int column, int row);
    void Type(const QString& keys);
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Enter(int column, int row, QChar digit);
    // The engine's current grid text.
    QString EngineGrid() { return recorder_.CallText("restituisci_stringa"); }
    // The scrivi_cella calls made since the last ClearCalls, as "row,column,value" with the
    // value as text or as the integer 0.
    QStringList CellWrites();

    QString ConfigPath() const { return ProgramDir() + QStringLiteral("config.ini"); }
    void WriteConfig(const QByteArray& text);
    // The settings file's bytes, "<missing>" when there is none.
    QByteArray ConfigText() const;

private:
    MainWindowOptions Options(engine::ClassObjectFactory factory);

    QTemporaryDir programDir_;
    RecordingEngine recorder_{BuiltComponent()};
    ScriptedDialogs* dialogs_ = nullptr;
    QStringList opened_;
    std::unique_ptr<TFsudoku_main> window_;
};

}  // namespace testing_support
