#pragma once

#include <QFont>
#include <QTableWidget>
#include <array>

#include "appearance/skin_colors.h"
#include "board/history.h"
#include "board/locked_cells.h"

class QPainter;

namespace board {

// The 9 x 9 board: paints every cell itself from the skin's colours and the locked cells, with
// its pencil notes and, when asked, the digits that repeat in a row, column or box in the
// skin's conflict colour; and turns mouse and keys into the player's acts on cells. It holds
// the cells' texts and notes only to show them (and to read them out to assistive technology)
// and never talks to the engine. Every key acts on the selected cell at once: there is no cell
// editor.
class BoardGrid : public QTableWidget {
    Q_OBJECT

public:
    // colors and locked are read at every paint; their owners outlive the board.
    BoardGrid(const appearance::SkinColors& colors, const LockedCells& locked,
              QWidget* parent = nullptr);

    // Cell text: empty or one digit. Columns and rows are 0 to 8.
    QString CellText(int column, int row) const;
    void SetCellText(int column, int row, const QString& text);
    void SetCellNotes(int column, int row, board::Notes notes);
    // Whether digits that repeat in their row, column or box are marked.
    void ShowConflicts(bool shown);

    // Repaints every cell and brings the cells' descriptions (place and state, read by
    // assistive technology) up to date with the locked cells.
    void RepaintAll();

    const QFont& GridFont() const { return gridFont_; }

signals:
    // The left mouse button (or another) went down on cell (column, row), which is now the
    // selected one; also when it already was.
    void cellClicked(int column, int row);
    void cellRightClicked(int column, int row);
    // The keyboard moved the selection to cell (column, row).
    void selectionMoved(int column, int row);
    // The player typed a digit 1 to 9, or asked to empty the cell, on the selected cell.
    void digitTyped(int column, int row, int digit);
    void eraseTyped(int column, int row);
    // Ctrl and a digit: set or clear that note on the selected cell.
    void noteTyped(int column, int row, int digit);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    QColor FillColor(int column, int row) const;
    void UpdateDescription(int column, int row);
    void PaintNotes(QPainter& painter, const QRect& cell, Notes notes, const QColor& ink) const;
    // The focus frame shows while the keyboard is on the board, also with the window in the
    // background, so a player coming back sees where they are.
    bool ShowsFocusFrame() const;

    const appearance::SkinColors& colors_;
    const LockedCells& locked_;
    QFont gridFont_;
    QFont notesFont_;
    std::array<Notes, 81> notes_{};
    bool conflictsShown_ = false;
    // A selection made by the mouse is announced as a click, not as a move.
    bool announceMoves_ = true;
};

}  // namespace board
