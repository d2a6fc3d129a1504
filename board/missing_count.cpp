// The missing-number counter in status panel 1.

#include "app/main_window.h"
#include "app/status_bar.h"
#include "engine/engine_link.h"

void TFsudoku_main::UpdateMissingCount() {
    std::vector<engine::Variant> none;
    const engine::Variant filled = Engine().Call("valori_soluzione", none);
    bool isNumber = false;
    const int count = engine::ResultText(filled).toInt(&isNumber);
    if (!isNumber) {
        throw std::runtime_error("The puzzle engine did not count the filled cells");
    }
    StatusBar->SetPanelText(1, QStringLiteral("Miss.n.: ") + QString::number(81 - count));
}
