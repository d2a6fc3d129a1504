#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "board/history.h"

namespace engine {
class PuzzleEngine;
}

namespace board {

// The hint switch and the candidates of the selected cell. The player's setting can be
// locked off for a while (an online game) and comes back when unlocked.
class Hints : public QObject {
    Q_OBJECT

public:
    // engine must outlive the hints.
    explicit Hints(engine::PuzzleEngine& engine, QObject* parent = nullptr);

    bool IsOn() const { return on_; }
    void SetOn(bool on) { on_ = on; }
    // Locking keeps the setting and switches hints off; unlocking brings the kept one back.
    void Lock(bool locked);

    // The hint panel before any cell is chosen: "Hint none" when on, "Hint disabled" when off.
    QString StateText() const;
    // Shows the candidates of cell (column, row) when hints are on, asking the engine; with
    // hints off it asks nothing and says they are disabled.
    void ShowHint(int column, int row);

signals:
    // The hint for the chosen cell: its candidates while hints are on (none for a filled
    // cell), nothing while they are off.
    void hintShown(std::optional<board::Notes> candidates);

private:
    engine::PuzzleEngine& engine_;
    bool on_ = false;
    bool locked_ = false;
    bool kept_ = false;
};

}  // namespace board
