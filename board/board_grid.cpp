#include "board/board_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

#include "appearance/color_contrast.h"
#include "appearance/color_from_hex.h"
#include "board/board_keys.h"
#include "board/cell_layout.h"
#include "board/cell_painter.h"
#include "board/conflicts.h"
#include "board/grid_text.h"

namespace board {

namespace {

const QColor kGridLineColor{192, 192, 192};
constexpr int kFocusFrameWidth = 2;

}  // namespace

BoardGrid::BoardGrid(const appearance::SkinColors& colors, const LockedCells& locked,
                     QWidget* parent)
    : QTableWidget(kCellCount, kCellCount, parent), colors_(colors), locked_(locked) {
    setObjectName(QStringLiteral("StringGrid"));
    setAccessibleName(QStringLiteral("Board"));

    gridFont_.setFamily(QStringLiteral("Acknowledge -BRK-"));
    gridFont_.setPixelSize(33);
    gridFont_.setWeight(QFont::Normal);
    notesFont_.setFamily(QStringLiteral("DejaVu Sans"));
    notesFont_.setPixelSize(10);

    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setMinimumSectionSize(1);
        header->setSectionResizeMode(QHeaderView::Fixed);
        for (int i = 0; i < kCellCount; ++i) {
            header->resizeSection(i, i + 1 < kCellCount ? kCellPitch : kCellSize);
        }
    }
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFixedSize(kBoardSize, kBoardSize);
    setShowGrid(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Tab leaves the board for the tool bar; the arrows move between cells.
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);

    for (int row = 0; row < kCellCount; ++row) {
        for (int column = 0; column < kCellCount; ++column) {
            auto* item = new QTableWidgetItem();
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setData(Qt::AccessibleDescriptionRole, CellDescription(column, row, false, 0));
            setItem(row, column, item);
        }
    }
}

QString BoardGrid::CellText(int column, int row) const {
    return item(row, column)->text();
}

void BoardGrid::SetCellText(int column, int row, const QString& text) {
    item(row, column)->setText(text);
    // A digit that comes or goes may start or end a repeat anywhere in its row, column and
    // box: those cells' marks change with it, not only the cell's own.
    if (conflictsShown_) {
        viewport()->update();
    }
}

void BoardGrid::SetCellNotes(int column, int row, Notes notes) {
    notes_[CellIndex(column, row)] = notes;
    UpdateDescription(column, row);
    viewport()->update(CellRect(column, row));
}

void BoardGrid::ShowConflicts(bool shown) {
    if (conflictsShown_ != shown) {
        conflictsShown_ = shown;
        viewport()->update();
    }
}

void BoardGrid::UpdateDescription(int column, int row) {
    const QString description =
        CellDescription(column, row, locked_.Contains(column, row), notes_[CellIndex(column, row)]);
    if (item(row, column)->data(Qt::AccessibleDescriptionRole).toString() != description) {
        item(row, column)->setData(Qt::AccessibleDescriptionRole, description);
    }
}

void BoardGrid::RepaintAll() {
    for (int row = 0; row < kCellCount; ++row) {
        for (int column = 0; column < kCellCount; ++column) {
            UpdateDescription(column, row);
        }
    }
    viewport()->update();
}

QColor BoardGrid::FillColor(int column, int row) const {
    if (locked_.Contains(column, row)) {
        return appearance::DrawingColor(colors_, &appearance::SkinColors::cells_locked);
    }
    constexpr appearance::SkinColorField kFills[] = {
        &appearance::SkinColors::grid1, &appearance::SkinColors::grid2,
        &appearance::SkinColors::grid3, &appearance::SkinColors::grid4};
    return appearance::DrawingColor(colors_, kFills[FillKey(column, row) - 1]);
}

bool BoardGrid::ShowsFocusFrame() const {
    return currentIndex().isValid() && window()->focusWidget() == this;
}

void BoardGrid::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), kGridLineColor);

    const QColor textColor = appearance::DrawingColor(colors_, &appearance::SkinColors::grid_font);
    const QColor lockedText =
        appearance::DrawingColor(colors_, &appearance::SkinColors::cells_locked_font);
    const QColor conflictText =
        appearance::DrawingColor(colors_, &appearance::SkinColors::conflict_font);
    BoardCellTexts texts;
    for (int row = 0; row < kCellCount; ++row) {
        for (int column = 0; column < kCellCount; ++column) {
            texts[row][column] = CellText(column, row);
        }
    }
    const ConflictMap conflicts = conflictsShown_ ? FindConflicts(texts) : ConflictMap{};
    for (int row = 0; row < kCellCount; ++row) {
        for (int column = 0; column < kCellCount; ++column) {
            const bool locked = locked_.Contains(column, row);
            CellLook look{FillColor(column, row), locked ? lockedText : textColor,
                          texts[row][column]};
            if (conflicts[row][column]) {
                look.textColor = conflictText;
            }
            PaintCell(painter, CellRect(column, row), look, gridFont_);
            if (look.text.isEmpty() && notes_[CellIndex(column, row)] != 0) {
                PaintNotes(painter, CellRect(column, row), notes_[CellIndex(column, row)],
                           textColor);
            }
        }
    }
    for (int row = 0; row < kCellCount; ++row) {
        for (int column = 0; column < kCellCount; ++column) {
            PaintBoxLines(painter, CellRect(column, row), column, row);
        }
    }

    // The focus frame: inside the selected cell, in black or white, whichever reads better on
    // the cell's fill.
    if (ShowsFocusFrame()) {
        const QModelIndex current = currentIndex();
        const QColor ink = appearance::InkFor(FillColor(current.column(), current.row()));
        painter.setPen(QPen(ink, kFocusFrameWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(CellRect(current.column(), current.row()).adjusted(2, 2, -3, -3));
    }
}

void BoardGrid::PaintNotes(QPainter& painter, const QRect& cell, Notes notes,
                           const QColor& ink) const {
    // Digit d in row (d - 1) / 3 and column (d - 1) % 3 of the cell: 1 top left, 9 bottom right.
    const QRectF inner = QRectF(cell).adjusted(2, 2, -2, -2);
    const qreal slot = inner.width() / 3;
    painter.save();
    painter.setFont(notesFont_);
    painter.setPen(ink);
    for (int digit = 1; digit <= 9; ++digit) {
        if ((notes >> digit) & 1) {
            const QRectF place(inner.left() + slot * ((digit - 1) % 3),
                               inner.top() + slot * ((digit - 1) / 3), slot, slot);
            painter.drawText(place, Qt::AlignCenter, QString::number(digit));
        }
    }
    painter.restore();
}

void BoardGrid::keyPressEvent(QKeyEvent* event) {
    const QModelIndex current = currentIndex();
    const BoardKey key = BoardKeyFor(event->key(), event->modifiers());
    if (key.action != BoardKey::Action::None) {
        if (current.isValid()) {
            switch (key.action) {
                case BoardKey::Action::Digit:
                    emit digitTyped(current.column(), current.row(), key.digit);
                    break;
                case BoardKey::Action::Note:
                    emit noteTyped(current.column(), current.row(), key.digit);
                    break;
                default:
                    emit eraseTyped(current.column(), current.row());
            }
        }
        event->accept();
        return;
    }
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QTableWidget::keyPressEvent(event);
            return;
        default:
            // Letters and the like are no search through the cells: the window may want them.
            event->ignore();
    }
}

void BoardGrid::mousePressEvent(QMouseEvent* event) {
    announceMoves_ = false;
    QTableWidget::mousePressEvent(event);
    announceMoves_ = true;
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (pressed.isValid() && pressed == currentIndex()) {
        if (event->button() == Qt::RightButton) {
            emit cellRightClicked(pressed.column(), pressed.row());
        } else {
            emit cellClicked(pressed.column(), pressed.row());
        }
    }
}

void BoardGrid::focusInEvent(QFocusEvent* event) {
    // Taking the focus may make a first cell current; that is no move by the player.
    announceMoves_ = false;
    QTableWidget::focusInEvent(event);
    announceMoves_ = true;
    viewport()->update();
}

void BoardGrid::focusOutEvent(QFocusEvent* event) {
    QTableWidget::focusOutEvent(event);
    viewport()->update();
}

void BoardGrid::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        viewport()->update();
    }
}

void BoardGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableWidget::currentChanged(current, previous);
    if (announceMoves_ && current.isValid()) {
        emit selectionMoved(current.column(), current.row());
    }
    viewport()->update();
}

}  // namespace board
