// The hint switch and the candidates of the selected cell in status panel 4.

#include "app/main_window.h"
#include "app/popup_menu.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "board/hint_text.h"

void TFsudoku_main::ToggleHint() {
    const QString newValue =
        HintSetting == QLatin1String("false") ? QStringLiteral("true") : QStringLiteral("false");
    SettingsUpdate(QStringLiteral("hint"), HintSetting, newValue);
    HintSetting = newValue;
    ShowHintState();
}

void TFsudoku_main::ShowHintState() {
    for (QAction* control : {Menu->Item(QStringLiteral("ShowHint1")),
                             ToolBar->Action(QStringLiteral("ToolButton_hint"))}) {
        connect(control, &QAction::triggered, this, &TFsudoku_main::OnHintControlTriggered,
                Qt::UniqueConnection);
        control->setEnabled(true);
    }
    ShowHintChecks();
    StatusBar->SetPanelText(4, HintSetting == QLatin1String("true")
                                   ? QStringLiteral("Hint none")
                                   : QStringLiteral("Hint disabled"));
}

void TFsudoku_main::ShowHintChecks() {
    const bool on = HintSetting == QLatin1String("true");
    Menu->Item(QStringLiteral("ShowHint1"))->setChecked(on);
    ToolBar->Action(QStringLiteral("ToolButton_hint"))->setChecked(on);
}

void TFsudoku_main::OnHintControlTriggered() {
    Run(&TFsudoku_main::ToggleHint);
    ShowHintChecks();
}

void TFsudoku_main::ShowHint(int column, int row) {
    if (HintSetting != QLatin1String("true")) {
        StatusBar->SetPanelText(4, QStringLiteral("Hint disabled"));
        return;
    }
    LastEngineResult.clear();
    LastEngineResult = Engine().CallText("leggi_candidati", {row, column});
    const QString list = board::FormatCandidates(LastEngineResult);
    StatusBar->SetPanelText(
        4, list.isEmpty() ? QStringLiteral("Hint: none") : QStringLiteral("Hint: |") + list);
}
