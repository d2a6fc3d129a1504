// The missing-number counter in status panel 1.

#include "app/main_window.h"
#include "app/status_bar.h"
#include "engine/engine_link.h"

void TFsudoku_main::UpdateMissingCount() {
    const int filled = EngineNumber("valori_soluzione");
    StatusBar->SetPanelText(1, QStringLiteral("Miss.n.: ") + QString::number(81 - filled));
}
