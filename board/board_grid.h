#pragma once

#include <QFont>
#include <QTableWidget>

#include "appearance/skin_colors.h"
#include "board/board_view.h"

class QPainter;

namespace board {

// The 9 x 9 board: paints every cell from the board's view (digits, notes, locked cells, the
// aids' marks, the pause cover) in the skin's colours, and turns mouse and keys into the
// player's acts on cells. Its items only mirror the view for assistive technology (each
// cell's text, and its place and state as the description); it never talks to the engine.
// Every key acts on the selected cell at once: there is no cell editor.
class BoardGrid : public QTableWidget {
    Q_OBJECT

public:
    // colors and view are read at every paint; their owners outlive the board.
    BoardGrid(const appearance::SkinColors& colors, const BoardView& view,
              QWidget* parent = nullptr);

    // The cell's text as shown and read out: empty or one digit. Columns and rows are 0 to 8.
    QString CellText(int column, int row) const;
    // The view changed: every cell is read out anew and repainted, also after a change at one
    // cell, since a digit may start or end marks anywhere.
    void RepaintAll();

    const QFont& GridFont() const { return gridFont_; }

signals:
    // The left mouse button (or another) went down on cell (column, row), which is now the
    // selected one; also when it already was.
    void cellClicked(int column, int row);
    void cellRightClicked(int column, int row);
    // The keyboard moved the selection to cell (column, row).
    void selectionMoved(int column, int row);
    // The selected cell is now (column, row), however it came to be.
    void currentCellChanged(int column, int row);
    // The player typed a digit 1 to 9, or asked to empty the cell, on the selected cell.
    void digitTyped(int column, int row, int digit);
    void eraseTyped(int column, int row);
    // Ctrl and a digit: set or clear that note on the selected cell.
    void noteTyped(int column, int row, int digit);
    // A click on the paused board's cover.
    void coverClicked();

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
    void UpdateItem(int column, int row, const CellMarks& marks);
    // struck: the candidates an explained step rules out, drawn crossed out whether noted or
    // not.
    void PaintNotes(QPainter& painter, const QRect& cell, Notes notes, Notes marked, Notes struck,
                    const QColor& ink) const;
    void PaintCover(QPainter& painter) const;
    // The focus frame shows while the keyboard is on the board, also with the window in the
    // background, so a player coming back sees where they are.
    bool ShowsFocusFrame() const;

    const appearance::SkinColors& colors_;
    const BoardView& view_;
    QFont gridFont_;
    QFont notesFont_;
    QFont coverFont_;
    // A selection made by the mouse is announced as a click, not as a move.
    bool announceMoves_ = true;
};

}  // namespace board
