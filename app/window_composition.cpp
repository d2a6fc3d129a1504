// The main window's widgets, laid out at their designed places and sizes.

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QTimer>

#include "app/flat_menu_style.h"
#include "app/header_bar.h"
#include "app/main_window.h"
#include "app/popup_menu.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "appearance/color_from_hex.h"
#include "appearance/skins.h"
#include "board/board_grid.h"
#include "board/board_session.h"
#include "toolkit/sentences.h"

namespace {

QFrame* SunkenLine(QWidget* parent, int y) {
    auto* line = new QFrame(parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(0, y, parent->width(), 2);
    return line;
}

}  // namespace

void TFsudoku_main::BuildComposition() {
    const appearance::SkinColors& colors = skins_->Colors();
    cntHeader = new app::HeaderBar(this);
    // Behind the header pictures, the window's own colour.
    QPalette headerPalette = cntHeader->palette();
    headerPalette.setColor(QPalette::Window, appearance::QColorFromHex(colors.window_color));
    cntHeader->setPalette(headerPalette);
    cntHeader->setAutoFillBackground(true);

    SunkenLine(this, 35);
    ToolBar = new app::ToolBar(this);
    ToolBar->setGeometry(0, 36, width(), app::ToolBar::kHeight);
    SunkenLine(this, 59);

    StringGrid = new board::BoardGrid(colors, board_->View(), this);
    StringGrid->move(145, 71);

    StatusBar = new app::StatusBar(this);
    StatusBar->setGeometry(0, height() - app::StatusBar::kHeight, width(), app::StatusBar::kHeight);

    // The free space left and right of the board, below the tool bar.
    constexpr int kSideMargin = 6;
    const int besideBoard = StringGrid->x() + StringGrid->width() + 8;
    Rating_Panel = new QLabel(this);
    Rating_Panel->setObjectName(QStringLiteral("Rating_Panel"));
    Rating_Panel->setGeometry(kSideMargin, StringGrid->y(), StringGrid->x() - 8 - kSideMargin, 48);
    Rating_Panel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Rating_Panel->setWordWrap(true);
    Rating_Panel->setAccessibleName(QStringLiteral("Rating"));
    Rating_Panel->hide();
    Step_Panel = new QLabel(this);
    Step_Panel->setObjectName(QStringLiteral("Step_Panel"));
    Step_Panel->setGeometry(besideBoard, StringGrid->y(), width() - besideBoard - kSideMargin,
                            StringGrid->height());
    Step_Panel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Step_Panel->setWordWrap(true);
    Step_Panel->setAccessibleName(QStringLiteral("Next step"));
    Step_Panel->hide();

    Splash_Panel = new QLabel(sentences::kInitialising, this);
    Splash_Panel->setObjectName(QStringLiteral("Splash_Panel"));
    Splash_Panel->setGeometry(238, 218, 185, 41);
    Splash_Panel->setAlignment(Qt::AlignCenter);
    Splash_Panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Splash_Panel->setLineWidth(1);
    Splash_Panel->setAutoFillBackground(true);
    QFont splashFont = Splash_Panel->font();
    splashFont.setBold(true);
    Splash_Panel->setFont(splashFont);
    Splash_Panel->raise();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));

    Menu = new app::PopupMenu(this);
    // The menu draws itself flat, in the skin's colours; its root menu owns the style.
    auto* menuStyle = new app::FlatMenuStyle(colors);
    menuStyle->setParent(Menu->Menu());
    app::InstallFlatMenuStyle(*Menu->Menu(), *menuStyle);
}
