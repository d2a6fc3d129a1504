// Skins on the window: the header pictures and colours of the current skin, and the Skin
// submenu that chooses it.

#include <QMenu>

#include "app/header_bar.h"
#include "app/main_window.h"
#include "app/popup_menu.h"
#include "app/settings.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "appearance/color_from_hex.h"
#include "appearance/skins.h"
#include "board/board_grid.h"

namespace {

void SetBackground(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Button, color);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

// The window's parts as a skin colours them.
class WindowSkin : public appearance::SkinTarget {
public:
    WindowSkin(QWidget& window, app::HeaderBar& header, app::ToolBar& toolBar,
               app::StatusBar& statusBar, board::BoardGrid& board)
        : window_(window),
          header_(header),
          toolBar_(toolBar),
          statusBar_(statusBar),
          board_(board) {}

    void ShowHeaderPicture(HeaderPiece piece, const QPixmap& picture) override {
        switch (piece) {
            case HeaderPiece::Left:
                header_.leftPiece->SetPicture(picture);
                break;
            case HeaderPiece::Middle:
                header_.middlePiece->SetPicture(picture);
                break;
            case HeaderPiece::Right:
                header_.rightPiece->SetPicture(picture);
                break;
        }
    }

    void ShowColors(const appearance::SkinColors& colors) override {
        using appearance::QColorFromHex;
        SetBackground(window_, QColorFromHex(colors.window_color));
        SetBackground(header_, QColorFromHex(colors.window_color));
        SetBackground(toolBar_, QColorFromHex(colors.button_bar));
        statusBar_.SetColors(QColorFromHex(colors.status_bar),
                             QColorFromHex(colors.status_bar_font));
        // The menu and the board read these at every paint.
        for (const QString* paintedColor :
             {&colors.menu_font, &colors.menu_bar, &colors.menu_select_border,
              &colors.menu_select_color, &colors.menu_select_font, &colors.conflict_font,
              &colors.house_shade, &colors.same_digit_mark, &colors.mistake_font}) {
            QColorFromHex(*paintedColor);
        }
        board_.RepaintAll();
    }

private:
    QWidget& window_;
    app::HeaderBar& header_;
    app::ToolBar& toolBar_;
    app::StatusBar& statusBar_;
    board::BoardGrid& board_;
};

}  // namespace

void TFsudoku_main::ApplySkin() {
    WindowSkin target(*this, *cntHeader, *ToolBar, *StatusBar, *StringGrid);
    skins_->Apply(target);
}

void TFsudoku_main::BuildSkinMenu() {
    const appearance::SkinMenuItems items = skins_->MenuItems();
    QMenu* submenu = Menu->Skins();
    QAction* first = Menu->DefaultSkin();
    for (QAction* item : submenu->actions()) {
        if (item != first) {
            submenu->removeAction(item);
            item->deleteLater();
        }
    }
    // "default" only reacts when its folder exists.
    first->setEnabled(items.defaultItemActive);
    if (items.defaultItemActive) {
        connect(first, &QAction::triggered, this, &TFsudoku_main::OnSkinItemTriggered,
                Qt::UniqueConnection);
    }
    for (const QString& caption : items.extraItems) {
        QAction* item = submenu->addAction(caption);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, &TFsudoku_main::OnSkinItemTriggered);
    }
    ShowSkinChecks();
}

void TFsudoku_main::ShowSkinChecks() {
    const QList<QAction*> items = Menu->Skins()->actions();
    for (qsizetype i = 0; i < items.size(); ++i) {
        const bool current = i == 0 ? skins_->Name() == QLatin1String("default")
                                    : app::ItemCaption(items[i]) == skins_->Name();
        items[i]->setChecked(current);
    }
}

void TFsudoku_main::SelectSkin(QAction* item) {
    const QString name = app::ItemCaption(item);
    settings_->SetSkin(name);
    skins_->Choose(name);
    ApplySkin();
    BuildSkinMenu();
}

void TFsudoku_main::OnSkinItemTriggered() {
    auto* item = qobject_cast<QAction*>(sender());
    Run([this, item] { SelectSkin(item); });
    ShowSkinChecks();
}
