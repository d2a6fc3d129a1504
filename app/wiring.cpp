// Which handler each menu item, tool button, timer and board event runs. Every handler runs
// under the default error report.

#include "app/header_bar.h"
#include "app/main_window.h"
#include "app/popup_menu.h"
#include "app/tool_bar.h"
#include "board/board_grid.h"

void TFsudoku_main::Wire(QAction* action, void (TFsudoku_main::*handler)()) {
    connect(action, &QAction::triggered, this, [this, handler] { Run(handler); });
    action->setEnabled(true);
}

void TFsudoku_main::ConnectHandlers() {
    connect(Timer1, &QTimer::timeout, this, [this] { Run(&TFsudoku_main::Timer1Timer); });
    connect(Cronometro, &QTimer::timeout, this, [this] { Run(&TFsudoku_main::CronometroTimer); });
    connect(Timer_salva_img, &QTimer::timeout, this,
            [this] { Run(&TFsudoku_main::Timer_salva_imgTimer); });
    connect(Timer_stampa, &QTimer::timeout, this,
            [this] { Run(&TFsudoku_main::Timer_stampaTimer); });
    connect(cntHeader->BBclose, &QAbstractButton::clicked, this,
            [this] { Run(&TFsudoku_main::BBcloseClick); });
    connect(cntHeader->BBmenu, &QAbstractButton::clicked, this,
            [this] { Run(&TFsudoku_main::BBmenuClick); });
    connect(cntHeader->BBminimize, &QAbstractButton::clicked, this,
            [this] { Run(&TFsudoku_main::BBminimizeClick); });
    connect(cntHeader->panel_move_header, &app::DragPanel::pressed, this,
            [this] { Run(&TFsudoku_main::panel_move_headerMouseDown); });

    Wire(Menu->Item(QStringLiteral("Close1")), &TFsudoku_main::BBcloseClick);
    Wire(Menu->Item(QStringLiteral("Puzzle1")), &TFsudoku_main::Puzzle1Click);
    Wire(ToolBar->Action(QStringLiteral("ToolButton7")), &TFsudoku_main::Puzzle1Click);
    Wire(Menu->Item(QStringLiteral("Locksquares1")), &TFsudoku_main::Locksquares1Click);
    Wire(ToolBar->Action(QStringLiteral("ToolButton_lock")), &TFsudoku_main::Locksquares1Click);
    Wire(Menu->Item(QStringLiteral("EmptyGrid1")), &TFsudoku_main::EmptyGrid1Click);
    Wire(ToolBar->Action(QStringLiteral("ToolButton_blank")), &TFsudoku_main::EmptyGrid1Click);
    Wire(Menu->Item(QStringLiteral("ConfirmGrid1")), &TFsudoku_main::ConfirmGrid1Click);
    Wire(ToolBar->Action(QStringLiteral("ToolButton8")), &TFsudoku_main::ConfirmGrid1Click);
    Wire(Menu->Item(QStringLiteral("Showsolution1")), &TFsudoku_main::Showsolution1Click);
    Wire(Menu->Item(QStringLiteral("Challenge1")), &TFsudoku_main::Challenge1Click);
    Wire(ToolBar->Action(QStringLiteral("ToolButton5")), &TFsudoku_main::Challenge1Click);
    Wire(Menu->Item(QStringLiteral("Load1")), &TFsudoku_main::Load1Click);
    Wire(ToolBar->Action(QStringLiteral("ToolButton1")), &TFsudoku_main::Load1Click);
    Wire(Menu->Item(QStringLiteral("Savepuzzle1")), &TFsudoku_main::Savepuzzle1Click);
    Wire(ToolBar->Action(QStringLiteral("ToolButton2")), &TFsudoku_main::Savepuzzle1Click);
    Wire(Menu->Item(QStringLiteral("SavePuzzleAs1")), &TFsudoku_main::SavePuzzleAs1Click);
    Wire(Menu->Item(QStringLiteral("SavePuzzleImage1")), &TFsudoku_main::SavePuzzleImage1Click);
    Wire(Menu->Item(QStringLiteral("Print1")), &TFsudoku_main::Print1Click);
    Wire(ToolBar->Action(QStringLiteral("ToolButton4")), &TFsudoku_main::Print1Click);
    Wire(Menu->Item(QStringLiteral("About1")), &TFsudoku_main::About1Click);
    Wire(Menu->Item(QStringLiteral("QuillmarkSite1")), &TFsudoku_main::QuillmarkSite1Click);
    Wire(Menu->Item(QStringLiteral("QuillmarkForum1")), &TFsudoku_main::QuillmarkForum1Click);
    Wire(Menu->Item(QStringLiteral("Checkforupdates1")), &TFsudoku_main::Checkforupdates1Click);

    Wire(ToolBar->PenAction(0), &TFsudoku_main::ToolButton_cancClick);
    for (int digit = 1; digit <= 9; ++digit) {
        QAction* pen = ToolBar->PenAction(digit);
        connect(pen, &QAction::triggered, this,
                [this, digit] { Run([this, digit] { ToolButton_DigitClick(digit); }); });
        pen->setEnabled(true);
    }

    connect(StringGrid, &board::BoardGrid::cellSelecting, this, [this](int column, int row) {
        Run([this, column, row] { StringGridSelectCell(column, row); });
    });
    connect(StringGrid, &board::BoardGrid::editorClosing, this, [this](int column, int row) {
        Run([this, column, row] { StringGridEditorExit(column, row); });
    });
}
