// The header that stands in for the caption bar, and the level choice of the menu.

#include <QWindow>

#include "app/header_bar.h"
#include "app/main_window.h"
#include "app/popup_menu.h"
#include "app/status_bar.h"

namespace {

const char* const kLevelItems[] = {"Easy1", "Medium1", "Hard1"};

}  // namespace

void TFsudoku_main::BBmenuClick() {
    const QWidget* button = cntHeader->BBmenu;
    const QPoint corner = frameGeometry().topLeft();
    Menu->Menu()->popup(
        QPoint(corner.x() + button->x() + 1, corner.y() + button->y() + button->height() + 7));
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
    for (const char* name : kLevelItems) {
        QAction* item = Menu->Item(QString::fromLatin1(name));
        connect(item, &QAction::triggered, this, &TFsudoku_main::OnLevelItemTriggered,
                Qt::UniqueConnection);
        item->setEnabled(true);
    }
    ShowLevelChecks();
    StatusBar->SetPanelText(0, QStringLiteral("Level: ") + Level);
}

void TFsudoku_main::ShowLevelChecks() {
    for (const char* name : kLevelItems) {
        QAction* item = Menu->Item(QString::fromLatin1(name));
        item->setChecked(app::ItemCaption(item) == Level);
    }
}

void TFsudoku_main::LevelChoice(QAction* item) {
    const QString level = app::ItemCaption(item);
    SettingsUpdate(QStringLiteral("level"), Level, level);
    Level = level;
    LevelMenuRefresh();
}

void TFsudoku_main::OnLevelItemTriggered() {
    auto* item = qobject_cast<QAction*>(sender());
    Run([this, item] { LevelChoice(item); });
    // A failed choice leaves the marks as they were, not as the click toggled them.
    ShowLevelChecks();
}
