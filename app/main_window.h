#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/program_paths.h"
#include "board/play_aids.h"
#include "engine/engine_link.h"
#include "toolkit/dialogs.h"

class QAction;
class QLabel;
class QTimer;

namespace app {
class HeaderBar;
class PlayAidsSettings;
class PopupMenu;
class Settings;
class StatusBar;
class ToolBar;
}  // namespace app

namespace appearance {
class Skins;
}

namespace board {
class BoardGrid;
class BoardSession;
class Hints;
}  // namespace board

namespace engine {
class PuzzleEngine;
}

namespace game {
class OnlineGame;
class PuzzleCommands;
class Stopwatch;
}  // namespace game

namespace help {
class HelpCommands;
}

namespace output {
class PictureCommands;
class PuzzleFiles;
}  // namespace output

namespace toolkit {
class Feature;
}

// What the main window is made with. Every field has a default for the real program; tests
// replace the ones they need.
struct MainWindowOptions {
    // The program's directory, ending in "/": config.ini, the skins and print.jpg live here.
    // Empty means the executable's directory in the build folder, or the player's folders
    // where the game is installed (see app::PathsFor).
    QString programDir;
    // Makes the engine's class object. Empty means loading the engine component that sits
    // beside the executable.
    engine::ClassObjectFactory engineFactory;
    // The message boxes and dialogs. Empty means the real ones.
    std::unique_ptr<toolkit::Dialogs> dialogs;
    // The millisecond tick count the stopwatch reads, wrapping at 2^32. Empty means a steady
    // clock.
    std::function<std::uint32_t()> tickClock;
    // Opens a web, mail or download address with the desktop's program for it. Empty means
    // the desktop's own.
    std::function<void(const QString&)> openAddress;
    // Whether the system has a printer. Empty means asking the print system.
    std::function<bool()> printerAvailable;
};

// The one main window. It composes the feature objects that hold the program's state and do
// its work, lays out the widgets that show them, and wires the two together: every handler is
// one or a few calls into a feature object.
class TFsudoku_main : public QWidget {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 662;
    static constexpr int kClientHeight = 478;

    explicit TFsudoku_main(MainWindowOptions options = {});
    ~TFsudoku_main() override;

    // --- Start-up and closing ------------------------------------------------------------
    // Creation: paths and constants, no caption bar, header buttons and tool bar disabled.
    void FormCreate();
    // First activation, right after the window is first shown: runs the start-up sequence
    // once; later activations do nothing.
    void FormActivate();
    void StartupSequence();
    // Two seconds after creation: starts the engine, shows its version, enables the chrome.
    void Timer1Timer();
    void DisableChrome();
    void EnableChrome();
    // The header close button and File > Close: a running online game is given up first.
    void BBcloseClick();
    // Runs whenever the window closes: releases the engine's class object.
    void FormClose();

    // True once the start-up sequence has run to its end.
    bool IsConfigured() const { return configured_; }
    // True once the engine has started and the chrome is enabled.
    bool IsReady() const;

    // --- Header and menus ----------------------------------------------------------------
    // Opens the menu just under the menu button.
    void BBmenuClick();
    // F10 or the Menu key: the menu opens as a click opens it, its first item selected.
    void MenuKeyPressed();
    void BBminimizeClick();
    // Any mouse button on the header's drag panel moves the window with the mouse.
    void panel_move_headerMouseDown();
    // The level items' check marks and status panel 0.
    void LevelMenuRefresh();
    // A Level item was chosen: stored, then shown.
    void LevelChoice(QAction* item);

    // Shows the player's sentence for an engine error code in an error box; fileName only
    // for a code that can name a file, else empty.
    void ShowEngineError(const QString& code, const QString& fileName);

    // --- The board -----------------------------------------------------------------------
    void Locksquares1Click();
    // The digit pens ToolButton_1 to ToolButton_9: choose the digit, or drop it when chosen.
    void ToolButton_DigitClick(int digit);
    // The eraser pen: choose it, or drop it when chosen.
    void ToolButton_cancClick();
    // The player clicked cell (column, row): its hint, then the pen.
    void StringGridSelectCell(int column, int row);
    // The keyboard moved the selection to cell (column, row): its hint; no pen writes.
    void StringGridKeyMove(int column, int row);
    // A digit key, or a key that empties, on the selected cell (column, row).
    void StringGridDigitKey(int column, int row, int digit);
    void StringGridEraseKey(int column, int row);
    // Ctrl and a digit, or the right button with a digit pen: a pencil note set or cleared.
    void StringGridNoteKey(int column, int row, int digit);
    void StringGridRightClick(int column, int row);
    // Ctrl+Z takes the player's last action back; Ctrl+Shift+Z and Ctrl+Y make it again.
    void UndoKeyPressed();
    void RedoKeyPressed();
    // The hint switch: flips the hint setting and stores it.
    void ToggleHint();
    // The hint controls and status panel 4 as the hint switch says.
    void ShowHintState();

    // --- Play aids (Options > Play Aids, and Actions after Confirm Grid) -----------------
    // Pauses the timed puzzle (the board covered, the stopwatch standing) or resumes it.
    void Pause1Click();
    void FillInAllNotes1Click();
    void ClearAllNotes1Click();
    // The next step from the board's digits: its sentence beside the board and its cells
    // marked on it; applying it makes the step as one action, explaining it first if need be.
    void ExplainNextStep1Click();
    void ApplyNextStep1Click();

    // --- Game ----------------------------------------------------------------------------
    void Puzzle1Click();
    void EmptyGrid1Click();
    void ConfirmGrid1Click();
    void Showsolution1Click();
    void Challenge1Click();
    void CronometroTimer();

    // --- Skins ---------------------------------------------------------------------------
    // Loads the current skin's header pictures and colours and applies them; raises an error
    // naming a picture that cannot be read, or a colour that is not "#rrggbb".
    void ApplySkin();
    // The Skin submenu: "default" first, then the installed skins in reverse name order.
    void BuildSkinMenu();
    // A Skin item was chosen: stores, applies and lists the new skin.
    void SelectSkin(QAction* item);

    // --- Files, the picture and printing -------------------------------------------------
    void Load1Click();
    // Saves to the name of the last Save As, or runs Save As when there is none yet.
    void Savepuzzle1Click();
    void SavePuzzleAs1Click();
    void SavePuzzleImage1Click();
    void Timer_salva_imgTimer();
    void Print1Click();
    void Timer_stampaTimer();

    // --- Help ----------------------------------------------------------------------------
    void About1Click();
    void QuillmarkSite1Click();
    void QuillmarkForum1Click();
    void Checkforupdates1Click();

    // --- The application's default error report ------------------------------------------
    // Runs a handler; an error it raises ends it and is shown in a critical message box with
    // the error's text, and the program goes on.
    void Run(const std::function<void()>& handler);
    void Run(void (TFsudoku_main::*handler)()) {
        Run([this, handler] { (this->*handler)(); });
    }
    void ReportError(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Tab and Shift+Tab move the keyboard between the board and the tool bar.
    bool focusNextPrevChild(bool next) override;

private:
    // Makes the feature objects, each on the ones it works with.
    void MakeFeatures(MainWindowOptions& options);
    // Lays out the widgets as designed.
    void BuildComposition();
    // Gives every menu item, tool button, timer, board event and feature signal its handler,
    // once.
    void ConnectHandlers();
    void ConnectFeatureNotices(toolkit::Feature& feature);
    // Runs handler when action is triggered, and enables action.
    void Wire(QAction* action, void (TFsudoku_main::*handler)());
    // The check marks of checkable controls follow the state, also after a handler failed.
    void ShowLevelChecks();
    void ShowHintChecks();
    void ShowSkinChecks();
    void ShowLockChecks(bool on);
    // The hint switch's menu item and tool button, which always show the same.
    std::array<QAction*, 2> HintControls() const;
    void ConnectPlayAids();
    void LoadPlayAids();
    // Flips one aid and stores the choice.
    void TogglePlayAid(bool board::PlayAids::*aid);
    void ShowPlayAidChecks();
    // Pause is there while a puzzle is timed offline; the notes and step commands while offline.
    void ShowPauseState();
    // The free space beside the board: the puzzle's rating on the left, the explained step's
    // sentence on the right, each hidden while it has nothing to say.
    void ShowRating(const QString& caption);
    void ShowExplanation(const QString& sentence);
    void OnLevelItemTriggered();
    void OnHintControlTriggered();
    void OnSkinItemTriggered();
    void OnOnlineGameStateChanged(bool running);
    void OnApplicationStateChanged(Qt::ApplicationState state);
    void ShowWait(const QString& caption);

    std::unique_ptr<toolkit::Dialogs> dialogs_;
    std::function<void(const QString&)> openAddress_;
    engine::EngineLink engineLink_;
    std::unique_ptr<engine::PuzzleEngine> engine_;
    app::ProgramPaths paths_;

    std::unique_ptr<app::Settings> settings_;
    std::unique_ptr<app::PlayAidsSettings> playAids_;
    std::unique_ptr<appearance::Skins> skins_;
    std::unique_ptr<help::HelpCommands> help_;
    // The feature objects that signal what they change, owned by the window as their parent.
    board::BoardSession* board_ = nullptr;
    board::Hints* hints_ = nullptr;
    game::Stopwatch* stopwatch_ = nullptr;
    game::OnlineGame* onlineGame_ = nullptr;
    game::PuzzleCommands* puzzle_ = nullptr;
    output::PuzzleFiles* files_ = nullptr;
    output::PictureCommands* picture_ = nullptr;

    // The widgets, owned by the window.
    app::HeaderBar* cntHeader = nullptr;
    app::ToolBar* ToolBar = nullptr;
    board::BoardGrid* StringGrid = nullptr;
    app::StatusBar* StatusBar = nullptr;
    app::PopupMenu* Menu = nullptr;
    QLabel* Splash_Panel = nullptr;
    QLabel* Rating_Panel = nullptr;
    QLabel* Step_Panel = nullptr;
    QTimer* Timer1 = nullptr;
    // The window's own keys, live with the chrome: the menu keys, minimising, undo and redo.
    QList<QAction*> windowKeys_;

    bool activated_ = false;
    bool configured_ = false;
};
