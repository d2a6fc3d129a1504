#pragma once

#include <QLabel>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "app/dialogs.h"
#include "appearance/skin_colors.h"
#include "board/locked_cells.h"
#include "engine/engine_link.h"

namespace board {
class BoardGrid;
}

namespace app {
class HeaderBar;
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

    // True once the start-up sequence has run to its end.
    bool IsConfigured() const { return configured_; }
    // True once the engine has started and the chrome is enabled.
    bool IsReady() const;

    // --- The application's default error report ----------------------------------------------
    // Runs a handler; an error it raises ends it and is shown in a critical message box with
    // the error's text, and the program goes on.
    void Run(void (TFsudoku_main::*handler)());
    void ReportError(const QString& text);

    app::Dialogs& Dialogs() { return *dialogs_; }
    engine::EngineLink& Engine() { return engine_; }

    // --- State shared by the handlers ---------------------------------------------------------
    QString ProgramDir;
    QString ConfigPath;
    QString PrintPicturePath;
    QString EmptyGridText;
    QString PuzzleFileName;
    QString SelectedDigit;
    QString LastEngineResult;
    QString AccountUser;
    bool SquaresLocked = false;
    bool GameMode = false;
    board::LockedCells LockedCells;
    appearance::SkinColors SkinColors;

    // --- Components ---------------------------------------------------------------------------
    app::HeaderBar* cntHeader = nullptr;
    app::ToolBar* ToolBar = nullptr;
    board::BoardGrid* StringGrid = nullptr;
    app::StatusBar* StatusBar = nullptr;
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

    QString programDirOption_;
    std::unique_ptr<app::Dialogs> dialogs_;
    engine::EngineLink engine_;
    bool activated_ = false;
    bool configured_ = false;
};
