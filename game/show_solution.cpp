// Revealing the engine's solution of the puzzle the locked cells give.

#include "app/main_window.h"

namespace {

// A grid needs this many values before its solution is shown.
constexpr int kFewestValues = 15;

}  // namespace

void TFsudoku_main::Showsolution1Click() {
    if (EngineNumber("valori_soluzione") < kFewestValues) {
        Dialogs().ShowMessage(app::BoxKind::Error,
                              QStringLiteral("You need to insert at least 15 values"));
        return;
    }
    if (EngineNumber("test_risolvibile") == 0) {
        Dialogs().ShowMessage(app::BoxKind::Warning,
                              QStringLiteral("The grid doesn't have a solution!"));
        return;
    }
    if (!Dialogs().Confirm(QStringLiteral("Do you want show the solution?"))) {
        return;
    }
    if (GameMode) {
        ForfeitOnlineGame();
    }
    Engine().CallText("azzera");
    RestoreLockedCells();
    ControlStopwatch(QStringLiteral("stop"));
    LastEngineResult.clear();
    LastEngineResult = Engine().CallText("risolvi");
    if (LastEngineResult != QLatin1String("0") && LastEngineResult != QLatin1String("1")) {
        ShowEngineError(LastEngineResult, QString());
        return;
    }
    if (LastEngineResult == QLatin1String("0")) {
        Dialogs().ShowMessage(app::BoxKind::Warning,
                              QStringLiteral("The grid doesn't have a solution!"));
    }
    RefreshBoard(QStringLiteral("soluzione"));
}
