#include "board/board_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QStyledItemDelegate>

#include "appearance/color_from_hex.h"
#include "board/cell_layout.h"
#include "board/cell_painter.h"

namespace board {

namespace {

const QColor kGridLineColor{192, 192, 192};
const QColor kFocusMarkColor{0, 0, 0};

// A typed character the board does not accept is thrown away before the grid or its cell
// editor sees it. Keys that type nothing (arrows, Tab, Delete) pass.
bool IsRefusedKey(const QKeyEvent& event) {
    const QString text = event.text();
    return text.size() == 1 && text[0].isPrint() && !BoardGrid::IsAcceptedCharacter(text[0]);
}

class TypedKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && IsRefusedKey(*static_cast<QKeyEvent*>(event))) {
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

// The in-place editor: a plain line edit over the cell, in the board's font.
class CellEditorDelegate : public QStyledItemDelegate {
public:
    CellEditorDelegate(const QFont& font, QObject* parent)
        : QStyledItemDelegate(parent), font_(font), keyFilter_(new TypedKeyFilter(this)) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFont(font_);
        editor->setFrame(false);
        editor->setAlignment(Qt::AlignCenter);
        editor->setAccessibleName(QStringLiteral("Cell editor"));
        editor->installEventFilter(keyFilter_);
        lastEditor_ = editor;
        return editor;
    }

    // The editor opened last, while it is open.
    QLineEdit* LastEditor() const { return lastEditor_; }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem&,
                              const QModelIndex& index) const override {
        editor->setGeometry(CellRect(index.column(), index.row()).adjusted(1, 1, -1, -1));
    }

private:
    QFont font_;
    TypedKeyFilter* keyFilter_;
    mutable QPointer<QLineEdit> lastEditor_;
};

bool BoardGrid::IsAcceptedCharacter(QChar c) {
    return (c >= u'1' && c <= u'9') || c == u'\b' || c == u'\r';
}

BoardGrid::BoardGrid(const appearance::SkinColors& colors, const LockedCells& locked,
                     QWidget* parent)
    : QTableWidget(kCellCount, kCellCount, parent), colors_(colors), locked_(locked) {
    setObjectName(QStringLiteral("StringGrid"));
    setAccessibleName(QStringLiteral("Board"));

    gridFont_.setFamily(QStringLiteral("Acknowledge -BRK-"));
    gridFont_.setPixelSize(33);
    gridFont_.setWeight(QFont::Normal);

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
    setTabKeyNavigation(true);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    delegate_ = new CellEditorDelegate(gridFont_, this);
    setItemDelegate(delegate_);

    for (int row = 0; row < kCellCount; ++row) {
        for (int column = 0; column < kCellCount; ++column) {
            auto* item = new QTableWidgetItem();
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
            setItem(row, column, item);
        }
    }
}

QString BoardGrid::CellText(int column, int row) const {
    return item(row, column)->text();
}

void BoardGrid::SetCellText(int column, int row, const QString& text) {
    item(row, column)->setText(text);
}

void BoardGrid::RepaintAll() {
    for (int row = 0; row < kCellCount; ++row) {
        for (int column = 0; column < kCellCount; ++column) {
            QString mark = locked_.Contains(column, row) ? QStringLiteral("locked") : QString();
            if (item(row, column)->data(Qt::AccessibleDescriptionRole).toString() != mark) {
                item(row, column)->setData(Qt::AccessibleDescriptionRole, mark);
            }
        }
    }
    viewport()->update();
}

QColor BoardGrid::FillColor(int column, int row) const {
    constexpr appearance::SkinColorField kFills[] = {
        &appearance::SkinColors::grid1, &appearance::SkinColors::grid2,
        &appearance::SkinColors::grid3, &appearance::SkinColors::grid4};
    return appearance::DrawingColor(colors_, kFills[FillKey(column, row) - 1]);
}

void BoardGrid::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), kGridLineColor);

    const QColor textColor = appearance::DrawingColor(colors_, &appearance::SkinColors::grid_font);
    const QColor lockedFill =
        appearance::DrawingColor(colors_, &appearance::SkinColors::cells_locked);
    const QColor lockedText =
        appearance::DrawingColor(colors_, &appearance::SkinColors::cells_locked_font);
    for (int row = 0; row < kCellCount; ++row) {
        for (int column = 0; column < kCellCount; ++column) {
            CellLook look{FillColor(column, row), textColor, CellText(column, row)};
            if (locked_.Contains(column, row)) {
                look.fill = lockedFill;
                look.textColor = lockedText;
            }
            PaintCell(painter, CellRect(column, row), look, gridFont_);
        }
    }
    for (int row = 0; row < kCellCount; ++row) {
        for (int column = 0; column < kCellCount; ++column) {
            PaintBoxLines(painter, CellRect(column, row), column, row);
        }
    }

    // The focus mark: a dotted frame inside the current cell while the board has the focus.
    QModelIndex current = currentIndex();
    if (current.isValid() && hasFocus()) {
        painter.setPen(QPen(kFocusMarkColor, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(CellRect(current.column(), current.row()).adjusted(2, 2, -3, -3));
    }
}

void BoardGrid::keyPressEvent(QKeyEvent* event) {
    if (IsRefusedKey(*event)) {
        event->accept();
        return;
    }
    // Backspace and Delete on a selected cell open its editor emptied, as a player expects.
    const bool erase = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
    if (erase && state() != QAbstractItemView::EditingState && currentIndex().isValid()) {
        if (edit(currentIndex(), QAbstractItemView::EditKeyPressed, event) &&
            delegate_->LastEditor() != nullptr) {
            delegate_->LastEditor()->clear();
        }
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void BoardGrid::mousePressEvent(QMouseEvent* event) {
    // Clicking the current cell selects it again; the view itself reports no change then.
    QModelIndex pressed = indexAt(event->position().toPoint());
    if (pressed.isValid() && pressed == currentIndex()) {
        emit cellSelecting(pressed.column(), pressed.row());
    }
    QTableWidget::mousePressEvent(event);
}

void BoardGrid::focusInEvent(QFocusEvent* event) {
    // Taking the focus may make a first cell current; that is no selection by the player.
    announceSelection_ = false;
    QTableWidget::focusInEvent(event);
    announceSelection_ = true;
}

void BoardGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableWidget::currentChanged(current, previous);
    if (announceSelection_ && current.isValid()) {
        emit cellSelecting(current.column(), current.row());
    }
    viewport()->update();
}

bool BoardGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // A locked cell never opens an editor, also when the lock came after its selection.
    const bool refused = !editingAllowed_ || locked_.Contains(index.column(), index.row());
    if (refused && trigger != QAbstractItemView::NoEditTriggers) {
        return false;
    }
    bool opened = QTableWidget::edit(index, trigger, event);
    if (opened && state() == QAbstractItemView::EditingState) {
        editingIndex_ = index;
    }
    return opened;
}

void BoardGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editingIndex_.isValid()) {
        QModelIndex closing = editingIndex_;
        editingIndex_ = QPersistentModelIndex();
        emit editorClosing(closing.column(), closing.row());
    }
    QTableWidget::closeEditor(editor, hint);
}

}  // namespace board
