// The main window's components, laid out at their designed places and sizes.

#include <QFont>
#include <QFrame>

#include "app/flat_menu_style.h"
#include "app/header_bar.h"
#include "app/main_window.h"
#include "app/popup_menu.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "appearance/color_from_hex.h"
#include "board/board_grid.h"

namespace {

QFrame* SunkenLine(QWidget* parent, int y) {
    auto* line = new QFrame(parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(0, y, parent->width(), 2);
    return line;
}

QTimer* MakeTimer(QObject* parent, const char* name, int intervalMs) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setInterval(intervalMs);
    return timer;
}

}  // namespace

void TFsudoku_main::BuildComposition() {
    cntHeader = new app::HeaderBar(this);
    // Behind the header pictures, the window's own colour.
    QPalette headerPalette = cntHeader->palette();
    headerPalette.setColor(QPalette::Window, appearance::QColorFromHex(SkinColors.window_color));
    cntHeader->setPalette(headerPalette);
    cntHeader->setAutoFillBackground(true);

    SunkenLine(this, 35);
    ToolBar = new app::ToolBar(this);
    ToolBar->setGeometry(0, 36, width(), app::ToolBar::kHeight);
    SunkenLine(this, 59);

    StringGrid = new board::BoardGrid(SkinColors, LockedCells, this);
    StringGrid->move(145, 71);

    StatusBar = new app::StatusBar(this);
    StatusBar->setGeometry(0, height() - app::StatusBar::kHeight, width(), app::StatusBar::kHeight);

    Splash_Panel = new QLabel(QStringLiteral("Initialising, please wait..."), this);
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

    Timer1 = MakeTimer(this, "Timer1", 2000);
    Cronometro = MakeTimer(this, "Cronometro", 10);
    Timer_salva_img = MakeTimer(this, "Timer_salva_img", 2000);
    Timer_stampa = MakeTimer(this, "Timer_stampa", 1000);

    Menu = new app::PopupMenu(this);
    // The menu draws itself flat, in the skin's colours; its root menu owns the style.
    auto* menuStyle = new app::FlatMenuStyle(SkinColors);
    menuStyle->setParent(Menu->Menu());
    app::InstallFlatMenuStyle(*Menu->Menu(), *menuStyle);
    // Tool buttons without a handler stay disabled, like the menu items.
    for (QAction* action : ToolBar->actions()) {
        if (ToolBar->Button(action->objectName()) != nullptr) {
            action->setEnabled(false);
        }
    }
}
