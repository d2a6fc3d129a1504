#pragma once

#include <QFont>
#include <QTableWidget>

#include "appearance/skin_colors.h"
#include "board/locked_cells.h"

namespace board {

class CellEditorDelegate;

// The 9 x 9 board: paints every cell itself from the skin's colours and the locked cells,
// and turns mouse and keys into cell selections and edits. It holds the cell texts and
// never talks to the engine; the main window listens to its two signals.
class BoardGrid : public QTableWidget {
    Q_OBJECT

public:
    // colors and locked are read at every paint; the main window owns both and outlives
    // the board.
    BoardGrid(const appearance::SkinColors& colors, const LockedCells& locked,
              QWidget* parent = nullptr);

    // Cell text: empty or one digit. Columns and rows are 0 to 8.
    QString CellText(int column, int row) const;
    void SetCellText(int column, int row, const QString& text);

    // With editing off, no cell editor opens on the selected cell.
    void SetEditingAllowed(bool allowed) { editingAllowed_ = allowed; }
    bool EditingAllowed() const { return editingAllowed_; }

    // Repaints every cell and brings the cells' locked marks (read by assistive technology)
    // up to date with the locked cells.
    void RepaintAll();

    const QFont& GridFont() const { return gridFont_; }

    // Characters that may be typed on the board: digits 1 to 9, Backspace and Enter.
    static bool IsAcceptedCharacter(QChar c);

signals:
    // The player is selecting cell (column, row) by mouse, arrow key or Tab, also when it is
    // already the current cell.
    void cellSelecting(int column, int row);
    // The editor opened on cell (column, row) is closing; the cell holds its final text.
    void editorClosing(int column, int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    QColor FillColor(int column, int row) const;

    const appearance::SkinColors& colors_;
    const LockedCells& locked_;
    QFont gridFont_;
    CellEditorDelegate* delegate_ = nullptr;
    bool editingAllowed_ = true;
    bool announceSelection_ = true;
    QPersistentModelIndex editingIndex_;
};

}  // namespace board
