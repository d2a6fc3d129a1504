// The window's handlers: each hands the player's command to the feature object that does it,
// and shows what changed where the feature object cannot.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QWindow>

#include "app/header_bar.h"
#include "app/main_window.h"
#include "app/popup_menu.h"
#include "app/settings.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "board/board_grid.h"
#include "board/board_session.h"
#include "board/hints.h"
#include "engine/puzzle_engine.h"
#include "game/online_game.h"
#include "game/puzzle_commands.h"
#include "game/stopwatch.h"
#include "help/help_commands.h"
#include "output/picture_commands.h"
#include "output/puzzle_files.h"
#include "toolkit/sentences.h"

// --- Header and menus ------------------------------------------------------------------------

void TFsudoku_main::BBmenuClick() {
    const QWidget* button = cntHeader->BBmenu;
    const QPoint corner = frameGeometry().topLeft();
    Menu->Menu()->popup(
        QPoint(corner.x() + button->x() + 1, corner.y() + button->y() + button->height() + 7));
}

void TFsudoku_main::MenuKeyPressed() {
    BBmenuClick();
    // Down on a menu with nothing selected selects its first item, as the player would, and,
    // unlike choosing the item from the program, leaves its submenu closed.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(Menu->Menu(), &down);
}

void TFsudoku_main::BBminimizeClick() {
    showMinimized();
}

void TFsudoku_main::panel_move_headerMouseDown() {
    if (QWindow* window = windowHandle()) {
        window->startSystemMove();
    }
}

void TFsudoku_main::LevelMenuRefresh() {
    for (QAction* item : Menu->Levels()) {
        item->setEnabled(true);
    }
    ShowLevelChecks();
    StatusBar->SetPanelText(app::StatusPanel::Level, sentences::kLevelPanel + settings_->Level());
}

void TFsudoku_main::ShowLevelChecks() {
    for (QAction* item : Menu->Levels()) {
        item->setChecked(app::ItemCaption(item) == settings_->Level());
    }
}

void TFsudoku_main::LevelChoice(QAction* item) {
    settings_->SetLevel(app::ItemCaption(item));
    LevelMenuRefresh();
}

void TFsudoku_main::OnLevelItemTriggered() {
    auto* item = qobject_cast<QAction*>(sender());
    Run([this, item] { LevelChoice(item); });
    // A failed choice leaves the marks as they were, not as the click toggled them.
    ShowLevelChecks();
}

// --- The board -------------------------------------------------------------------------------

void TFsudoku_main::Locksquares1Click() {
    board_->ToggleLockSquares();
}

void TFsudoku_main::ShowLockChecks(bool on) {
    Menu->LockSquares()->setChecked(on);
    ToolBar->LockButton()->setChecked(on);
}

void TFsudoku_main::ToolButton_DigitClick(int digit) {
    board_->ChooseDigitPen(digit);
}

void TFsudoku_main::ToolButton_cancClick() {
    board_->ChooseEraser();
}

void TFsudoku_main::StringGridSelectCell(int column, int row) {
    hints_->ShowHint(column, row);
    board_->ClickCell(column, row);
}

void TFsudoku_main::StringGridKeyMove(int column, int row) {
    hints_->ShowHint(column, row);
    board_->UpdateMissingCount();
}

void TFsudoku_main::StringGridDigitKey(int column, int row, int digit) {
    board_->TypeDigit(column, row, digit);
}

void TFsudoku_main::StringGridEraseKey(int column, int row) {
    board_->EraseCell(column, row);
}

void TFsudoku_main::StringGridNoteKey(int column, int row, int digit) {
    board_->ToggleNote(column, row, digit);
}

void TFsudoku_main::StringGridRightClick(int column, int row) {
    hints_->ShowHint(column, row);
    board_->RightClickCell(column, row);
}

void TFsudoku_main::UndoKeyPressed() {
    board_->Undo();
}

void TFsudoku_main::RedoKeyPressed() {
    board_->Redo();
}

void TFsudoku_main::ToggleHint() {
    settings_->SetHint(!hints_->IsOn());
    hints_->SetOn(settings_->Hint());
    ShowHintState();
}

std::array<QAction*, 2> TFsudoku_main::HintControls() const {
    return {Menu->ShowHint(), ToolBar->HintButton()};
}

void TFsudoku_main::ShowHintState() {
    for (QAction* control : HintControls()) {
        control->setEnabled(true);
    }
    ShowHintChecks();
    StatusBar->SetPanelText(app::StatusPanel::Hint, hints_->StateText());
    // Repeated digits are marked while hints are on.
    board_->ShowConflicts(hints_->IsOn());
}

void TFsudoku_main::ShowHintChecks() {
    for (QAction* control : HintControls()) {
        control->setChecked(hints_->IsOn());
    }
}

void TFsudoku_main::OnHintControlTriggered() {
    Run(&TFsudoku_main::ToggleHint);
    ShowHintChecks();
}

// --- Game ------------------------------------------------------------------------------------

void TFsudoku_main::Puzzle1Click() {
    puzzle_->NewPuzzle(settings_->Level());
}

void TFsudoku_main::EmptyGrid1Click() {
    puzzle_->EmptyGrid();
}

void TFsudoku_main::ConfirmGrid1Click() {
    puzzle_->CheckGrid();
}

void TFsudoku_main::Showsolution1Click() {
    puzzle_->ShowSolution();
}

void TFsudoku_main::Challenge1Click() {
    onlineGame_->Challenge(settings_->Account());
}

// While a game runs, hints are locked off and their controls with them, and the program does
// not ask for the solution the server alone is to know.
void TFsudoku_main::OnOnlineGameStateChanged(bool running) {
    hints_->Lock(running);
    ShowHintState();
    for (QAction* control : HintControls()) {
        control->setEnabled(!running);
    }
    board_->AllowSolution(!running);
    ShowPauseState();
    StatusBar->SetPanelText(app::StatusPanel::Level,
                            running ? QString(sentences::kOnlineGamePanel)
                                    : sentences::kLevelPanel + settings_->Level());
}

void TFsudoku_main::CronometroTimer() {
    stopwatch_->Tick();
}

// --- Files, the picture and printing ---------------------------------------------------------

void TFsudoku_main::Load1Click() {
    if (files_->Load()) {
        stopwatch_->Control(QStringLiteral("start"));
    }
}

void TFsudoku_main::Savepuzzle1Click() {
    files_->Save();
}

void TFsudoku_main::SavePuzzleAs1Click() {
    files_->SaveAs();
}

void TFsudoku_main::SavePuzzleImage1Click() {
    picture_->AskExport();
}

void TFsudoku_main::Timer_salva_imgTimer() {
    picture_->Export();
}

void TFsudoku_main::Print1Click() {
    picture_->RequestPrint();
}

void TFsudoku_main::Timer_stampaTimer() {
    picture_->Print();
}

// --- Help ------------------------------------------------------------------------------------

void TFsudoku_main::About1Click() {
    // A failing engine is reported by the default error report; the box keeps its text.
    help_->ShowAbout(this, [this]() -> std::optional<QString> {
        std::optional<QString> text;
        Run([this, &text] { text = engine_->Version(); });
        return text;
    });
}

void TFsudoku_main::QuillmarkSite1Click() {
    help_->OpenSite();
}

void TFsudoku_main::QuillmarkForum1Click() {
    help_->OpenForum();
}

void TFsudoku_main::Checkforupdates1Click() {
    help_->CheckForUpdates();
}
