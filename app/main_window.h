#pragma once

#include <QImage>
#include <QLabel>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/dialogs.h"
#include "app/ini_file.h"
#include "appearance/skin_colors.h"
#include "board/grid_text.h"
#include "board/locked_cells.h"
#include "engine/engine_link.h"
#include "game/time_text.h"

class QPrinter;

namespace board {
class BoardGrid;
}

namespace app {
class HeaderBar;
class PopupMenu;
class StatusBar;
class ToolBar;
}  // namespace app

// What the main window is made with. Every field has a default for the real program;
// tests replace the ones they need.
struct MainWindowOptions {
    // The program's directory, ending in "/": config.ini, the skins and print.jpg live here.
    // Empty means the directory of the executable.
    QString programDir;
    // Makes the engine's class object. Empty means loading the engine component that sits
    // beside the executable.
    engine::ClassObjectFactory engineFactory;
    // The message boxes and dialogs. Empty means the real ones.
    std::unique_ptr<app::Dialogs> dialogs;
    // The millisecond tick count the stopwatch reads. Empty means a steady clock.
    game::TickClock tickClock;
    // Opens a web, mail or download address with the desktop's program for it. Empty means
    // the desktop's own.
    std::function<void(const QString&)> openAddress;
};

// The one main window: it owns the program's state and hosts every handler. Handlers are
// defined in the folder of the subsystem they belong to; each reads as a short sequence of
// calls into the small objects that make up the state.
class TFsudoku_main : public QWidget {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 662;
    static constexpr int kClientHeight = 478;

    explicit TFsudoku_main(MainWindowOptions options = {});
    ~TFsudoku_main() override;

    // --- Start-up and closing --------------------------------------------------------------
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
    // The header close button and File > Close.
    void BBcloseClick();
    // Runs whenever the window closes: releases the engine's class object.
    void FormClose();

    // --- Settings file (app/)
    // --------------------------------------------------------------------- Replaces config.ini by
    // the default settings; fails silently where it cannot be written.
    void WriteDefaultSettings();
    // Fills the in-memory settings; a setting missing or not accepted takes its default, in
    // memory and in its line of the file, and every other line stays as it is.
    void ReadSettings();
    // Stores a changed setting: its line in config.ini takes newValue (the file is rewritten
    // through a temporary file). oldValue is the value in memory; the file's value is replaced
    // whatever it holds, so a file edited meanwhile still takes the choice. Raises an error
    // when the file cannot be read or written.
    void SettingsUpdate(const QString& name, const QString& oldValue, const QString& newValue);

    // --- Header and menus (app/) ----------------------------------------------------------------
    // Opens the menu just under the menu button.
    void BBmenuClick();
    void BBminimizeClick();
    // Any mouse button on the header's drag panel moves the window with the mouse.
    void panel_move_headerMouseDown();
    // The level items' check marks and their handler, and status panel 0.
    void LevelMenuRefresh();
    // A Level item was chosen.
    void LevelChoice(QAction* item);

    // --- Engine errors (engine/) ----------------------------------------------------------------
    // Shows the player's sentence for an engine error code in an error box; fileName only
    // for a code that can name a file, else empty.
    void ShowEngineError(const QString& code, const QString& fileName);

    // --- Grid text and locking (board/) --------------------------------------------------------
    // Shows the engine's grid on the board: "genera" and "file" also lock every filled cell,
    // "soluzione" leaves the locks as they are.
    void RefreshBoard(const QString& mode);
    void ParseGridText(const QString& text);
    // Flips the lock: on locks every cell that holds a digit now, off unlocks every cell.
    void ToggleLockSquares();
    void Locksquares1Click();

    // --- Cell input (board/) ---------------------------------------------------------------------
    // The digit pens ToolButton_1 to ToolButton_9: choose the digit, or drop it when chosen.
    void ToolButton_DigitClick(int digit);
    // The eraser pen: choose it, or drop it when chosen.
    void ToolButton_cancClick();
    // The player is selecting cell (column, row): the pen writes into an unlocked cell, and
    // editing is allowed there and only there.
    void StringGridSelectCell(int column, int row);
    // The cell editor opened on (column, row) is closing: its first character goes to the
    // engine.
    void StringGridEditorExit(int column, int row);

    // --- Missing-number counter and hints (board/) ----------------------------------------------
    void UpdateMissingCount();
    // The hint switch: flips HintSetting and stores it.
    void ToggleHint();
    // The hint controls and status panel 4 as HintSetting says.
    void ShowHintState();
    // Status panel 4 lists the candidates of cell (column, row) when hints are on.
    void ShowHint(int column, int row);

    // --- Online ladder game (game/)
    // ---------------------------------------------------------------
    void Challenge1Click();
    // "inizia_partita": a game starts; "fine_partita": it is over. The only place GameMode
    // changes.
    void SetOnlineGameState(const QString& state);
    // Gives the running game up and returns to the offline state; a failure is shown.
    void ForfeitOnlineGame();
    // Another program became active during a game: it is given up, once.
    void LeaveDuringOnlineGame();
    // A solved grid in an online game: reports it and shows the server's time.
    void ReportOnlineResult();
    // Calls a ladder operation with the account and the game id; its result goes to
    // LastEngineResult.
    void CallWithGame(std::string_view operation);

    // --- Skins (appearance/)
    // ----------------------------------------------------------------------- Loads the header
    // pictures and colours of SkinDir and applies them; raises an error naming a picture that
    // cannot be read, or a colour that is not "#rrggbb".
    void ApplySkin();
    // The Skin submenu: "default" first, then the installed skins in reverse name order.
    void BuildSkinMenu();
    // A Skin item was chosen: stores, applies and lists the new skin.
    void SelectSkin(QAction* item);

    // --- Puzzle files (output/) ------------------------------------------------------------------
    void Load1Click();
    // Saves to the name of the last Save As, or runs Save As when there is none yet.
    void Savepuzzle1Click();
    void SavePuzzleAs1Click();
    // The engine saves its grid to PuzzleFileName; a failure is shown.
    void SaveToPuzzleFile();

    // --- The puzzle picture, export and printing (output/) ---------------------------------------
    // Writes the board as the screen shows it to PicturePath as a 370 x 370 JPEG, stamped with
    // the date (bottom right), the credit line (bottom left) and the web address (top right).
    void CapturePuzzlePicture();
    // Stamps one line of text on a JPEG file; see output::StampPictureFile.
    void StampPictureText(const QString& options, const QString& inputPath,
                          const QString& outputPath, const QString& text, int mode, int xMargin,
                          int yMargin);
    void SavePuzzleImage1Click();
    void Timer_salva_imgTimer();
    void Print1Click();
    void Timer_stampaTimer();
    // Prints picture at the top left of a landscape page, scaled by the whole-number ratio of
    // the printer's resolution to the screen's, as many times as copies were chosen.
    void PrintPicture(QPrinter& printer, const QImage& picture);

    // --- Help: about box, links and update check (help/) ----------------------------------------
    void About1Click();
    void QuillmarkSite1Click();
    void QuillmarkForum1Click();
    void Checkforupdates1Click();
    // Opens an address with the desktop; whether it opened is not checked.
    void OpenAddress(const QString& address);

    // --- Empty grid, checking and the solution (game/) ------------------------------------------
    void EmptyGrid1Click();
    void ConfirmGrid1Click();
    // Judges the grid: a partial grid for a solution, a full grid for correctness; a solved
    // grid stops the stopwatch.
    void CheckGrid();
    // After the engine's grid was emptied: the locked cells go back to the engine and every
    // other board cell is emptied.
    void RestoreLockedCells();
    void Showsolution1Click();

    // --- Stopwatch (game/) -----------------------------------------------------------------------
    // Restarts the count from zero; "start" runs the stopwatch, any other text stops it with
    // its last time left on the panel.
    void ControlStopwatch(const QString& command);
    void CronometroTimer();

    // --- New puzzle (game/) ----------------------------------------------------------------------
    void Puzzle1Click();
    // Empties the board and the engine's grid, with the lock switched off.
    void ClearBoard();

    // True once the start-up sequence has run to its end.
    bool IsConfigured() const { return configured_; }
    // True once the engine has started and the chrome is enabled.
    bool IsReady() const;

    // --- The application's default error report ----------------------------------------------
    // Runs a handler; an error it raises ends it and is shown in a critical message box with
    // the error's text, and the program goes on.
    void Run(const std::function<void()>& handler);
    void Run(void (TFsudoku_main::*handler)()) {
        Run([this, handler] { (this->*handler)(); });
    }
    void ReportError(const QString& text);

    app::Dialogs& Dialogs() { return *dialogs_; }
    engine::EngineLink& Engine() { return engine_; }
    // An engine operation's result as a whole number; raises an error for anything else.
    int EngineNumber(std::string_view operation);

    // --- State shared by the handlers ---------------------------------------------------------
    QString ProgramDir;
    QString ConfigPath;
    QString PrintPicturePath;
    QString EmptyGridText;
    QString PuzzleFileName;
    QString PicturePath;
    // The picture to print, loaded from its file before printing.
    QImage Image1;
    QString SelectedDigit;
    QString LastEngineResult;
    QString LastMessageText;
    QString Level;
    QString AccountUser;
    QString AccountPassword;
    QString AccountMail;
    QString SkinName;
    QString SkinDir;
    QString ColorsPath;
    QString HintSetting;
    std::unique_ptr<app::IniFile> SettingsFile;
    QString CurrentGridText;
    board::BoardCellTexts BoardCells;
    std::uint32_t StopwatchStart = 0;
    bool SquaresLocked = false;
    bool GameMode = false;
    QString LadderGameId;
    QString SavedHintSetting;
    board::LockedCells LockedCells;
    appearance::SkinColors SkinColors;

    // --- Components ---------------------------------------------------------------------------
    app::HeaderBar* cntHeader = nullptr;
    app::ToolBar* ToolBar = nullptr;
    board::BoardGrid* StringGrid = nullptr;
    app::StatusBar* StatusBar = nullptr;
    app::PopupMenu* Menu = nullptr;
    QLabel* Splash_Panel = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Cronometro = nullptr;
    QTimer* Timer_salva_img = nullptr;
    QTimer* Timer_stampa = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Lays out the components as designed; called once, from the constructor.
    void BuildComposition();
    // Gives every menu item, tool button and board event its handler, once.
    void ConnectHandlers();
    // The 370 x 370 pixels of the screen where the board stands.
    QImage GrabBoardFromScreen();
    // A save dialog with its title and filter opening in the current directory; the default
    // extension is added to a name typed without one, and replacing an existing file is asked
    // first. Nothing when the player cancels either.
    std::optional<QString> ChooseSavePath(const QString& title, const QString& filter,
                                          const QString& suffix);
    // Runs handler when action is triggered, and enables action.
    void Wire(QAction* action, void (TFsudoku_main::*handler)());
    // The check marks of checkable controls follow the state, also after a handler failed.
    void ShowLevelChecks();
    void ShowHintChecks();
    void ShowSkinChecks();

    // The level items and hint controls, connected once whatever the number of refreshes.
    void OnLevelItemTriggered();
    void OnHintControlTriggered();
    void OnSkinItemTriggered();
    // The application's deactivation reaches LeaveDuringOnlineGame only while hooked.
    void HookDeactivation(bool hooked);
    void OnApplicationStateChanged(Qt::ApplicationState state);

    QString programDirOption_;
    std::unique_ptr<app::Dialogs> dialogs_;
    engine::EngineLink engine_;
    game::TickClock tickClock_;
    std::function<void(const QString&)> openAddress_;
    bool activated_ = false;
    bool configured_ = false;
};
