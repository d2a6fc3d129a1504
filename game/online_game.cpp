// The online ladder game: a timed challenge against the game server, the program's one mode
// switch. While it runs, hints are locked off and leaving the program gives it up.

#include <QCoreApplication>
#include <QGuiApplication>

#include "app/main_window.h"
#include "app/popup_menu.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "game/engine_result.h"

namespace {

const QString kNewVersionQuestion =
    QStringLiteral("A new version is available for update. Do you want download it now?");

}  // namespace

void TFsudoku_main::Challenge1Click() {
    const QString download = Engine().CallText("VerificaVersione");
    if (!download.isEmpty()) {
        // No challenge starts while a newer version exists.
        if (Dialogs().Confirm(kNewVersionQuestion)) {
            OpenAddress(download);
        }
        return;
    }
    LastEngineResult.clear();
    CurrentGridText = Engine().CallText("restituisci_stringa");
    LastEngineResult = CurrentGridText;
    if (CurrentGridText != EmptyGridText &&
        !Dialogs().Confirm(QStringLiteral("Do you want clear the grid and create a new puzzle?"))) {
        return;
    }
    Splash_Panel->setText(QStringLiteral("Retrieving, please wait..."));
    Splash_Panel->show();
    QCoreApplication::processEvents();

    ClearBoard();
    LadderGameId.clear();
    LadderGameId = Engine().CallText("IniziaGiocoLadder",
                                     {AccountUser.toStdString(), AccountPassword.toStdString()});
    // Only a game id starts a game: a refusal, any other failure or no answer at all is
    // shown, and the board stays empty.
    if (LadderGameId.isEmpty() || game::IsEngineErrorCode(LadderGameId)) {
        Splash_Panel->hide();
        QCoreApplication::processEvents();
        ShowEngineError(LadderGameId, QString());
        return;
    }
    SetOnlineGameState(QStringLiteral("inizia_partita"));
    RefreshBoard(QStringLiteral("genera"));
    Splash_Panel->hide();
    ControlStopwatch(QStringLiteral("start"));
}

void TFsudoku_main::SetOnlineGameState(const QString& state) {
    const bool starting = state == QLatin1String("inizia_partita");
    HookDeactivation(starting);
    QAction* hintItem = Menu->Item(QStringLiteral("ShowHint1"));
    QAction* hintButton = ToolBar->Action(QStringLiteral("ToolButton_hint"));
    if (starting) {
        SavedHintSetting = HintSetting;
        HintSetting = QStringLiteral("false");
        ShowHintState();
        hintItem->setEnabled(false);
        hintButton->setEnabled(false);
    } else if (state == QLatin1String("fine_partita")) {
        HintSetting = SavedHintSetting;
        ShowHintState();
        hintItem->setEnabled(true);
        hintButton->setEnabled(true);
    }
    GameMode = starting;
    StatusBar->SetPanelText(
        0, starting ? QStringLiteral("Online game") : QStringLiteral("Level: ") + Level);
}

void TFsudoku_main::CallWithGame(std::string_view operation) {
    LastEngineResult.clear();
    LastEngineResult = Engine().CallText(
        operation,
        {AccountUser.toStdString(), AccountPassword.toStdString(), LadderGameId.toStdString()});
}

void TFsudoku_main::ForfeitOnlineGame() {
    CallWithGame("RinunciaGiocoLadder");
    SetOnlineGameState(QStringLiteral("fine_partita"));
    if (!LastEngineResult.isEmpty()) {
        ShowEngineError(LastEngineResult, QString());
    }
}

void TFsudoku_main::LeaveDuringOnlineGame() {
    HookDeactivation(false);
    Dialogs().ShowMessage(
        app::BoxKind::Warning,
        QStringLiteral(
            "Online game is terminated: you cannot leave the quillmark during online games!"));
    ForfeitOnlineGame();
}

void TFsudoku_main::HookDeactivation(bool hooked) {
    if (hooked) {
        connect(qApp, &QGuiApplication::applicationStateChanged, this,
                &TFsudoku_main::OnApplicationStateChanged, Qt::UniqueConnection);
    } else {
        disconnect(qApp, &QGuiApplication::applicationStateChanged, this,
                   &TFsudoku_main::OnApplicationStateChanged);
    }
}

void TFsudoku_main::OnApplicationStateChanged(Qt::ApplicationState state) {
    if (state == Qt::ApplicationInactive) {
        Run(&TFsudoku_main::LeaveDuringOnlineGame);
    }
}

void TFsudoku_main::ReportOnlineResult() {
    CallWithGame("ChiudiGiocoLadder");
    SetOnlineGameState(QStringLiteral("fine_partita"));
    // Only a number of seconds is the server's time; every other answer is shown as it is.
    if (std::optional<quint64> seconds = game::DecimalSeconds(LastEngineResult)) {
        StatusBar->SetPanelText(2, game::TimeText(*seconds));
    } else {
        ShowEngineError(LastEngineResult, QString());
    }
}
