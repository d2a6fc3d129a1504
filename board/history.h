#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace board {

// Pencil notes of a cell: bit d set for the digit d, 1 to 9.
using Notes = std::uint16_t;

inline constexpr Notes NoteBit(int digit) {
    return static_cast<Notes>(1u << digit);
}

// What the player sees in a cell: its digit (empty, or "1" to "9") and its notes.
struct CellState {
    QString text;
    Notes notes = 0;

    bool operator==(const CellState&) const = default;
};

// The whole board, cell (column, row) at index row * 9 + column.
using BoardState = std::array<CellState, 81>;

inline constexpr int CellIndex(int column, int row) {
    return row * 9 + column;
}

// One cell's change within a player's action.
struct CellChange {
    int index = 0;
    CellState before;
    CellState after;
};

// One action of the player: every cell it changed, however many.
using Action = std::vector<CellChange>;

// The cells that differ between two states of the board, in index order.
Action Difference(const BoardState& before, const BoardState& after);

// The player's actions, to be taken back and made again in turn. A new action after an undo
// drops what could have been made again. There is no limit within a puzzle.
class History {
public:
    // An empty action is no action and changes nothing.
    void Record(Action action);
    // The last action, now to be taken back; nothing when there is none.
    std::optional<Action> Undo();
    // The last action taken back, now to be made again; nothing when there is none.
    std::optional<Action> Redo();
    void Clear();

private:
    std::vector<Action> done_;
    std::vector<Action> undone_;
};

}  // namespace board
