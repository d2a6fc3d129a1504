// Skins: the header pictures and sixteen colours of skin/<name>/, the Skin submenu, and the
// player's choice of skin.

#include <QMenu>

#include "app/header_bar.h"
#include "app/main_window.h"
#include "app/popup_menu.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "appearance/color_from_hex.h"
#include "appearance/skin_colors_file.h"
#include "appearance/skin_menu.h"
#include "board/board_grid.h"
#include "output/jpeg_file.h"

namespace {

void SetBackground(QWidget& widget, const QColor& color) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Button, color);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

QPixmap HeaderPicture(const QString& path) {
    return QPixmap::fromImage(output::ReadJpeg(path));
}

}  // namespace

void TFsudoku_main::ApplySkin() {
    // A picture that cannot be read stops here: the pictures after it and the colours keep
    // what they had.
    cntHeader->middlePiece->SetPicture(HeaderPicture(SkinDir + appearance::kHeaderMiddleFile));
    cntHeader->rightPiece->SetPicture(HeaderPicture(SkinDir + appearance::kHeaderRightFile));
    cntHeader->leftPiece->SetPicture(HeaderPicture(SkinDir + appearance::kHeaderLeftFile));

    ColorsPath = SkinDir + appearance::kSkinColorsFile;
    SkinColors = appearance::ReadSkinColors(ColorsPath);

    // Each colour is converted where it is applied, so a malformed one is reported here.
    using appearance::QColorFromHex;
    SetBackground(*this, QColorFromHex(SkinColors.window_color));
    SetBackground(*cntHeader, QColorFromHex(SkinColors.window_color));
    SetBackground(*ToolBar, QColorFromHex(SkinColors.button_bar));
    StatusBar->SetColors(QColorFromHex(SkinColors.status_bar),
                         QColorFromHex(SkinColors.status_bar_font));
    for (const QString* menuColor :
         {&SkinColors.menu_font, &SkinColors.menu_bar, &SkinColors.menu_select_border,
          &SkinColors.menu_select_color, &SkinColors.menu_select_font}) {
        QColorFromHex(*menuColor);  // the menu painter reads them at every paint
    }
    StringGrid->RepaintAll();
}

void TFsudoku_main::BuildSkinMenu() {
    const appearance::SkinMenuItems items = appearance::SkinMenuOrder(
        appearance::ListSkinDirectories(appearance::SkinsFolder(ProgramDir)));
    QMenu* submenu = Menu->Submenu(QStringLiteral("Skin1"));
    QAction* first = Menu->Item(QStringLiteral("Default1"));
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
    const QList<QAction*> items = Menu->Submenu(QStringLiteral("Skin1"))->actions();
    for (qsizetype i = 0; i < items.size(); ++i) {
        const bool current =
            i == 0 ? SkinName == QLatin1String("default") : app::ItemCaption(items[i]) == SkinName;
        items[i]->setChecked(current);
    }
}

void TFsudoku_main::SelectSkin(QAction* item) {
    const QString name = app::ItemCaption(item);
    SettingsUpdate(QStringLiteral("skin"), SkinName, name);
    SkinDir = appearance::SkinFolder(ProgramDir, name);
    SkinName = name;
    ApplySkin();
    BuildSkinMenu();
}

void TFsudoku_main::OnSkinItemTriggered() {
    auto* item = qobject_cast<QAction*>(sender());
    Run([this, item] { SelectSkin(item); });
    ShowSkinChecks();
}
