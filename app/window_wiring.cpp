// Which handler each menu item, tool button, timer, board event and feature signal runs.
// Every handler runs under the default error report.

#include <QGuiApplication>
#include <QTimer>

#include "app/header_bar.h"
#include "app/main_window.h"
#include "app/popup_menu.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "board/board_grid.h"
#include "board/board_session.h"
#include "board/hint_text.h"
#include "board/hints.h"
#include "game/online_game.h"
#include "game/puzzle_commands.h"
#include "game/stopwatch.h"
#include "output/picture_commands.h"
#include "output/puzzle_files.h"
#include "toolkit/sentences.h"

namespace {

using Handler = void (TFsudoku_main::*)();

// A command of the menu and, where it has one, its tool button.
struct Command {
    const char* menuItem;
    const char* toolButton;
    Handler handler;
};

const Command kCommands[] = {
    {"Close1", nullptr, &TFsudoku_main::BBcloseClick},
    {"Puzzle1", "ToolButton7", &TFsudoku_main::Puzzle1Click},
    {"Locksquares1", "ToolButton_lock", &TFsudoku_main::Locksquares1Click},
    {"EmptyGrid1", "ToolButton_blank", &TFsudoku_main::EmptyGrid1Click},
    {"ConfirmGrid1", "ToolButton8", &TFsudoku_main::ConfirmGrid1Click},
    {"Showsolution1", nullptr, &TFsudoku_main::Showsolution1Click},
    {"Challenge1", "ToolButton5", &TFsudoku_main::Challenge1Click},
    {"Load1", "ToolButton1", &TFsudoku_main::Load1Click},
    {"Savepuzzle1", "ToolButton2", &TFsudoku_main::Savepuzzle1Click},
    {"SavePuzzleAs1", nullptr, &TFsudoku_main::SavePuzzleAs1Click},
    {"SavePuzzleImage1", nullptr, &TFsudoku_main::SavePuzzleImage1Click},
    {"Print1", "ToolButton4", &TFsudoku_main::Print1Click},
    {"About1", nullptr, &TFsudoku_main::About1Click},
    {"QuillmarkSite1", nullptr, &TFsudoku_main::QuillmarkSite1Click},
    {"QuillmarkForum1", nullptr, &TFsudoku_main::QuillmarkForum1Click},
    {"Checkforupdates1", nullptr, &TFsudoku_main::Checkforupdates1Click},
};

}  // namespace

void TFsudoku_main::Wire(QAction* action, Handler handler) {
    connect(action, &QAction::triggered, this, [this, handler] { Run(handler); });
    action->setEnabled(true);
}

void TFsudoku_main::ConnectHandlers() {
    auto runs = [this](Handler handler) { return [this, handler] { Run(handler); }; };
    connect(Timer1, &QTimer::timeout, this, runs(&TFsudoku_main::Timer1Timer));
    connect(picture_, &output::PictureCommands::exportDue, this,
            runs(&TFsudoku_main::Timer_salva_imgTimer));
    connect(picture_, &output::PictureCommands::printDue, this,
            runs(&TFsudoku_main::Timer_stampaTimer));
    connect(cntHeader->BBclose, &QAbstractButton::clicked, this,
            runs(&TFsudoku_main::BBcloseClick));
    connect(cntHeader->BBmenu, &QAbstractButton::clicked, this, runs(&TFsudoku_main::BBmenuClick));
    connect(cntHeader->BBminimize, &QAbstractButton::clicked, this,
            runs(&TFsudoku_main::BBminimizeClick));
    connect(cntHeader->panel_move_header, &app::DragPanel::pressed, this,
            runs(&TFsudoku_main::panel_move_headerMouseDown));

    for (const Command& command : kCommands) {
        Wire(Menu->Item(QString::fromLatin1(command.menuItem)), command.handler);
        if (command.toolButton != nullptr) {
            Wire(ToolBar->Action(QString::fromLatin1(command.toolButton)), command.handler);
        }
    }
    Wire(ToolBar->PenAction(0), &TFsudoku_main::ToolButton_cancClick);
    for (int digit = 1; digit <= 9; ++digit) {
        QAction* pen = ToolBar->PenAction(digit);
        connect(pen, &QAction::triggered, this,
                [this, digit] { Run([this, digit] { ToolButton_DigitClick(digit); }); });
        pen->setEnabled(true);
    }
    // The level items and hint controls are enabled by the start-up sequence.
    for (QAction* level : Menu->Levels()) {
        connect(level, &QAction::triggered, this, &TFsudoku_main::OnLevelItemTriggered);
    }
    for (QAction* control : HintControls()) {
        connect(control, &QAction::triggered, this, &TFsudoku_main::OnHintControlTriggered);
    }

    connect(StringGrid, &board::BoardGrid::cellClicked, this, [this](int column, int row) {
        Run([this, column, row] { StringGridSelectCell(column, row); });
    });
    connect(StringGrid, &board::BoardGrid::selectionMoved, this, [this](int column, int row) {
        Run([this, column, row] { StringGridKeyMove(column, row); });
    });
    connect(StringGrid, &board::BoardGrid::digitTyped, this,
            [this](int column, int row, int digit) {
                Run([this, column, row, digit] { StringGridDigitKey(column, row, digit); });
            });
    connect(StringGrid, &board::BoardGrid::eraseTyped, this, [this](int column, int row) {
        Run([this, column, row] { StringGridEraseKey(column, row); });
    });
    connect(StringGrid, &board::BoardGrid::noteTyped, this, [this](int column, int row, int digit) {
        Run([this, column, row, digit] { StringGridNoteKey(column, row, digit); });
    });
    connect(StringGrid, &board::BoardGrid::cellRightClicked, this, [this](int column, int row) {
        Run([this, column, row] { StringGridRightClick(column, row); });
    });
    connect(StringGrid, &board::BoardGrid::currentCellChanged, board_,
            &board::BoardSession::Select);

    auto* menuKeys = new QAction(this);
    menuKeys->setShortcuts({QKeySequence(Qt::Key_F10), QKeySequence(Qt::Key_Menu)});
    connect(menuKeys, &QAction::triggered, this, runs(&TFsudoku_main::MenuKeyPressed));
    auto* minimiseKey = new QAction(this);
    minimiseKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(minimiseKey, &QAction::triggered, this, runs(&TFsudoku_main::BBminimizeClick));
    auto* undoKey = new QAction(this);
    undoKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undoKey, &QAction::triggered, this, runs(&TFsudoku_main::UndoKeyPressed));
    auto* redoKeys = new QAction(this);
    redoKeys->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(redoKeys, &QAction::triggered, this, runs(&TFsudoku_main::RedoKeyPressed));
    windowKeys_ = {menuKeys, minimiseKey, undoKey, redoKeys};

    // What the feature objects change, the window shows.
    connect(board_, &board::BoardSession::cellChanged, StringGrid, &board::BoardGrid::RepaintAll);
    connect(board_, &board::BoardSession::viewChanged, StringGrid, &board::BoardGrid::RepaintAll);
    connect(board_, &board::BoardSession::locksChanged, this, &TFsudoku_main::ShowLockChecks);
    connect(board_, &board::BoardSession::missingCountChanged, this, [this](int missing) {
        StatusBar->SetPanelText(app::StatusPanel::MissingCount,
                                sentences::kMissingPanel + QString::number(missing));
    });
    connect(hints_, &board::Hints::hintShown, this, [this](std::optional<board::Notes> candidates) {
        StatusBar->SetPanelText(app::StatusPanel::Hint, board::HintPanelText(candidates));
    });
    connect(stopwatch_, &game::Stopwatch::timeShown, this,
            [this](const QString& text) { StatusBar->SetPanelText(app::StatusPanel::Time, text); });
    connect(onlineGame_, &game::OnlineGame::serverTimeShown, this,
            [this](const QString& text) { StatusBar->SetPanelText(app::StatusPanel::Time, text); });
    connect(onlineGame_, &game::OnlineGame::gameStateChanged, this,
            &TFsudoku_main::OnOnlineGameStateChanged);
    ConnectPlayAids();
    ConnectFeatureNotices(*onlineGame_);
    ConnectFeatureNotices(*puzzle_);
    ConnectFeatureNotices(*files_);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &TFsudoku_main::OnApplicationStateChanged);
}

void TFsudoku_main::ConnectFeatureNotices(toolkit::Feature& feature) {
    connect(&feature, &toolkit::Feature::waitShown, this, &TFsudoku_main::ShowWait);
    connect(&feature, &toolkit::Feature::waitHidden, Splash_Panel, &QWidget::hide);
    connect(&feature, &toolkit::Feature::engineFailed, this, &TFsudoku_main::ShowEngineError);
}

void TFsudoku_main::OnApplicationStateChanged(Qt::ApplicationState state) {
    if (state == Qt::ApplicationInactive) {
        Run([this] { onlineGame_->ApplicationDeactivated(); });
    }
}
