#include "board/board_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

#include "appearance/color_contrast.h"
#include "appearance/color_from_hex.h"
#include "board/board_keys.h"
#include "board/cell_layout.h"
#include "board/cell_painter.h"
#include "board/grid_text.h"
#include "toolkit/sentences.h"

namespace board {

namespace {

const QColor kGridLineColor{192, 192, 192};
// An explained step's marks: fixed colours that read on every skin's cells.
const QColor kStepPatternColor{0, 90, 200};
const QColor kStepChangeColor{220, 110, 0};
const QColor kStepRemovedColor{200, 0, 0};
constexpr int kFocusFrameWidth = 2;

}  // namespace

BoardGrid::BoardGrid(const appearance::SkinColors& colors, const BoardView& view, QWidget* parent)
    : QTableWidget(kCellCount, kCellCount, parent), colors_(colors), view_(view) {
    setObjectName(QStringLiteral("StringGrid"));
    setAccessibleName(QStringLiteral("Board"));

    gridFont_.setFamily(QStringLiteral("Acknowledge -BRK-"));
    gridFont_.setPixelSize(33);
    gridFont_.setWeight(QFont::Normal);
    notesFont_.setFamily(QStringLiteral("DejaVu Sans"));
    notesFont_.setPixelSize(10);
    coverFont_.setFamily(QStringLiteral("DejaVu Sans"));
    coverFont_.setPixelSize(28);
    coverFont_.setWeight(QFont::Bold);

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

void BoardGrid::RepaintAll() {
    const BoardMarks marks = view_.Marks();
    for (int row = 0; row < kCellCount; ++row) {
        for (int column = 0; column < kCellCount; ++column) {
            UpdateItem(column, row, marks[CellIndex(column, row)]);
        }
    }
    setAccessibleDescription(view_.Paused() ? QString(sentences::kPausedCover) : QString());
    viewport()->update();
}

void BoardGrid::UpdateItem(int column, int row, const CellMarks& marks) {
    // While paused nothing of the puzzle is read out either.
    const CellState& cell = view_.Cell(column, row);
    const bool paused = view_.Paused();
    QTableWidgetItem* shown = item(row, column);
    const QString text = paused ? QString() : cell.text;
    if (shown->text() != text) {
        shown->setText(text);
    }
    const QString description = CellDescription(column, row, view_.Locked().Contains(column, row),
                                                paused ? 0 : cell.notes, marks);
    if (shown->data(Qt::AccessibleDescriptionRole).toString() != description) {
        shown->setData(Qt::AccessibleDescriptionRole, description);
    }
}

QColor BoardGrid::FillColor(int column, int row) const {
    // The cover shows not even where the givens stand.
    if (view_.Locked().Contains(column, row) && !view_.Paused()) {
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

    using appearance::SkinColors;
    auto colour = [this](appearance::SkinColorField key) {
        return appearance::DrawingColor(colors_, key);
    };
    const QColor textColor = colour(&SkinColors::grid_font);
    const QColor lockedText = colour(&SkinColors::cells_locked_font);
    const QColor shade = colour(&SkinColors::house_shade);
    const bool paused = view_.Paused();
    const BoardMarks marks = view_.Marks();
    for (int row = 0; row < kCellCount; ++row) {
        for (int column = 0; column < kCellCount; ++column) {
            const CellState& cell = view_.Cell(column, row);
            const CellMarks& mark = marks[CellIndex(column, row)];
            const QRect rect = CellRect(column, row);
            CellLook look{FillColor(column, row),
                          view_.Locked().Contains(column, row) ? lockedText : textColor,
                          paused ? QString() : cell.text};
            if (mark.shaded) {
                look.fill = appearance::ShadedFill(look.fill, shade);
            }
            if (mark.conflict) {
                look.textColor = colour(&SkinColors::conflict_font);
            }
            if (mark.mistake) {
                look.textColor = colour(&SkinColors::mistake_font);
            }
            PaintCell(painter, rect, look, gridFont_);
            if (!paused && look.text.isEmpty() && (cell.notes | mark.stepRemoves) != 0) {
                PaintNotes(painter, rect, cell.notes, mark.sameDigitNote, mark.stepRemoves,
                           textColor);
            }
            CellMarkLook marksLook;
            if (mark.sameDigit) {
                marksLook.frame = colour(&SkinColors::same_digit_mark);
            }
            if (mark.conflict) {
                marksLook.lowerCorner = colour(&SkinColors::conflict_font);
            }
            if (mark.mistake) {
                marksLook.upperCorner = colour(&SkinColors::mistake_font);
            }
            if (mark.stepPattern) {
                marksLook.dashedFrame = kStepPatternColor;
            }
            if (mark.stepChange) {
                marksLook.upperBar = kStepChangeColor;
            }
            PaintCellMarks(painter, rect, marksLook);
        }
    }
    for (int row = 0; row < kCellCount; ++row) {
        for (int column = 0; column < kCellCount; ++column) {
            PaintBoxLines(painter, CellRect(column, row), column, row);
        }
    }
    if (paused) {
        PaintCover(painter);
        return;
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

void BoardGrid::PaintCover(QPainter& painter) const {
    // A plain card in the locked cells' colours over the middle of the board.
    const QRect card =
        QRect(0, 0, 180, 64).translated(viewport()->rect().center() - QPoint(90, 32));
    painter.save();
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(appearance::DrawingColor(colors_, &appearance::SkinColors::cells_locked));
    painter.drawRect(card);
    painter.setFont(coverFont_);
    painter.setPen(appearance::DrawingColor(colors_, &appearance::SkinColors::cells_locked_font));
    painter.drawText(card, Qt::AlignCenter, sentences::kPausedCover);
    painter.restore();
}

void BoardGrid::PaintNotes(QPainter& painter, const QRect& cell, Notes notes, Notes marked,
                           Notes struck, const QColor& ink) const {
    // Digit d in row (d - 1) / 3 and column (d - 1) % 3 of the cell: 1 top left, 9 bottom right.
    const QRectF inner = QRectF(cell).adjusted(2, 2, -2, -2);
    const qreal slot = inner.width() / 3;
    const QColor mark = appearance::DrawingColor(colors_, &appearance::SkinColors::same_digit_mark);
    painter.save();
    painter.setFont(notesFont_);
    for (int digit = 1; digit <= 9; ++digit) {
        if (((notes | struck) & NoteBit(digit)) != 0) {
            const QRectF place(inner.left() + slot * ((digit - 1) % 3),
                               inner.top() + slot * ((digit - 1) / 3), slot, slot);
            // The selected digit among the notes stands on a square of the same-digit mark.
            const bool isMarked = (marked & NoteBit(digit)) != 0;
            if (isMarked) {
                painter.fillRect(place.adjusted(0.5, 0.5, -0.5, -0.5), mark);
            }
            const bool isStruck = (struck & NoteBit(digit)) != 0;
            painter.setPen(isStruck   ? kStepRemovedColor
                           : isMarked ? appearance::InkFor(mark)
                                      : ink);
            painter.drawText(place, Qt::AlignCenter, QString::number(digit));
            if (isStruck) {
                painter.drawLine(place.bottomLeft() + QPointF(1, -1),
                                 place.topRight() + QPointF(-1, 1));
            }
        }
    }
    painter.restore();
}

void BoardGrid::keyPressEvent(QKeyEvent* event) {
    if (view_.Paused()) {
        // Nothing moves or changes under the cover; the window's own keys still work.
        event->ignore();
        return;
    }
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
    if (view_.Paused()) {
        emit coverClicked();
        return;
    }
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
    if (current.isValid()) {
        emit currentCellChanged(current.column(), current.row());
    }
    if (announceMoves_ && current.isValid()) {
        emit selectionMoved(current.column(), current.row());
    }
    viewport()->update();
}

}  // namespace board
