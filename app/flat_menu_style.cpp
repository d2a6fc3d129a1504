#include "app/flat_menu_style.h"

#include <QActionEvent>
#include <QPainter>
#include <QStyleOptionMenuItem>
#include <stdexcept>

#include "appearance/color_from_hex.h"

namespace app {

namespace {

// The ground of every item and the separator line: fixed, whatever the skin.
const QColor kItemGround{0x80, 0x00, 0x00};
const QColor kSeparatorLine{0x00, 0x00, 0x00};
const QColor kMenuFrame{0x40, 0x40, 0x40};
const QColor kDisabledText{0xa0, 0xa0, 0xa0};

constexpr int kIconSize = 16;
constexpr int kTextGap = 8;         // from the icon column to the text
constexpr int kRightRoom = 22;      // right of the text or shortcut: the submenu arrow
constexpr int kShortcutGap = 16;    // between an item's text and its shortcut
constexpr int kVerticalMargin = 1;  // above the first item and below the last

QRect IconColumn(const QRect& item) {
    return QRect(item.left(), item.top(), FlatMenuStyle::kIconColumnWidth, item.height());
}

void DrawCheckMark(QPainter& painter, const QRect& column, const QColor& ink) {
    const QPoint c = column.center();
    const QPoint tick[] = {c + QPoint(-4, 0), c + QPoint(-1, 3), c + QPoint(4, -2)};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawPolyline(tick, 3);
    painter.restore();
}

void DrawSubmenuArrow(QPainter& painter, const QRect& item, const QColor& ink) {
    const int x = item.right() - 12;
    const int y = item.top() + item.height() / 2;
    const QPoint arrow[] = {{x, y - 4}, {x + 4, y}, {x, y + 4}};
    painter.save();
    painter.setPen(ink);
    painter.setBrush(ink);
    painter.drawPolygon(arrow, 3);
    painter.restore();
}

}  // namespace

FlatMenuStyle::FlatMenuStyle(const appearance::SkinColors& colors)
    : QProxyStyle(QStringLiteral("Fusion")), colors_(colors) {}

QFont FlatMenuStyle::MenuFont() {
    return QFont(QStringLiteral("Tahoma"), 8, QFont::Bold);
}

void FlatMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    switch (element) {
        case PE_PanelMenu:
            DrawColumnAndGround(option->rect, option->rect.left() + kFrameWidth, *painter);
            return;
        case PE_FrameMenu:
            painter->save();
            painter->setPen(kMenuFrame);
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            painter->restore();
            return;
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void FlatMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    switch (element) {
        case CE_MenuItem:
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                DrawMenuItem(*item, *painter);
                return;
            }
            break;
        case CE_MenuEmptyArea:
            DrawColumnAndGround(option->rect, option->rect.left() + kFrameWidth, *painter);
            return;
        default:
            break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

QSize FlatMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                      const QSize& size, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || item == nullptr) {
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }
    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        return QSize(kIconColumnWidth + kTextGap, kSeparatorHeight);
    }
    // QMenu adds the widest shortcut to every item's width itself; the size given holds the
    // text without it.
    const int shortcutGap = item->reservedShortcutWidth > 0 ? kShortcutGap : 0;
    return QSize(kIconColumnWidth + kTextGap + size.width() + shortcutGap + kRightRoom,
                 qMax(kItemHeight, size.height()));
}

int FlatMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                               const QWidget* widget) const {
    switch (metric) {
        case PM_MenuPanelWidth:
            return kFrameWidth;
        case PM_MenuHMargin:
            return 0;
        case PM_MenuVMargin:
            return kVerticalMargin;
        case PM_SmallIconSize:
            return kIconSize;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

void FlatMenuStyle::DrawColumnAndGround(const QRect& area, int columnLeft,
                                        QPainter& painter) const {
    painter.fillRect(area, kItemGround);
    painter.fillRect(QRect(columnLeft, area.top(), kIconColumnWidth, area.height()),
                     appearance::DrawingColor(colors_, &appearance::SkinColors::menu_bar));
}

void FlatMenuStyle::DrawMenuItem(const QStyleOptionMenuItem& item, QPainter& painter) const {
    using appearance::SkinColors;
    const QRect& rect = item.rect;
    const QRect column = IconColumn(rect);
    DrawColumnAndGround(rect, rect.left(), painter);

    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        const int y = rect.top() + rect.height() / 2;
        painter.fillRect(QRect(QPoint(column.right() + 1 + kTextGap, y), QPoint(rect.right(), y)),
                         kSeparatorLine);
        return;
    }

    const bool enabled = item.state.testFlag(State_Enabled);
    const bool highlighted = enabled && item.state.testFlag(State_Selected);
    QColor ink = appearance::DrawingColor(colors_, &SkinColors::menu_font);
    if (!enabled) {
        ink = kDisabledText;
    } else if (highlighted) {
        painter.fillRect(rect, appearance::DrawingColor(colors_, &SkinColors::menu_select_color));
        painter.save();
        painter.setPen(appearance::DrawingColor(colors_, &SkinColors::menu_select_border));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        painter.restore();
        ink = appearance::DrawingColor(colors_, &SkinColors::menu_select_font);
    }

    const bool checked = item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
    if (!item.icon.isNull()) {
        QRect iconRect(0, 0, kIconSize, kIconSize);
        iconRect.moveCenter(column.center());
        if (checked) {
            painter.save();
            painter.setPen(appearance::DrawingColor(colors_, &SkinColors::menu_select_border));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(iconRect.adjusted(-2, -2, 1, 1));
            painter.restore();
        }
        item.icon.paint(&painter, iconRect, Qt::AlignCenter,
                        enabled ? QIcon::Normal : QIcon::Disabled,
                        checked ? QIcon::On : QIcon::Off);
    } else if (checked) {
        DrawCheckMark(painter, column, ink);
    }

    QString text = item.text;
    QString shortcut;
    if (const qsizetype tab = text.indexOf(u'\t'); tab >= 0) {
        shortcut = text.mid(tab + 1);
        text.truncate(tab);
    }
    int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (!proxy()->styleHint(SH_UnderlineShortcut, &item, nullptr)) {
        flags |= Qt::TextHideMnemonic;
    }
    const QRect textArea = rect.adjusted(kIconColumnWidth + kTextGap, 0, -kRightRoom, 0);
    painter.save();
    painter.setFont(item.font);
    painter.setPen(ink);
    painter.drawText(textArea, flags | Qt::AlignLeft, text);
    if (!shortcut.isEmpty()) {
        painter.drawText(textArea, flags | Qt::AlignRight, shortcut);
    }
    painter.restore();

    if (item.menuItemType == QStyleOptionMenuItem::SubMenu) {
        DrawSubmenuArrow(painter, rect, ink);
    }
}

bool FlatMenuStyle::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ActionAdded || event->type() == QEvent::ActionChanged) {
        QAction* action = static_cast<QActionEvent*>(event)->action();
        if (QMenu* submenu = action ? action->menu<QMenu*>() : nullptr) {
            InstallFlatMenuStyle(*submenu, *this);
        }
    }
    return QProxyStyle::eventFilter(watched, event);
}

void InstallFlatMenuStyle(QMenu& root, FlatMenuStyle& style) {
    if (root.style() == &style) {
        return;
    }
    root.setStyle(&style);
    root.setFont(FlatMenuStyle::MenuFont());
    root.installEventFilter(&style);
    for (QAction* action : root.actions()) {
        if (QMenu* submenu = action->menu<QMenu*>()) {
            InstallFlatMenuStyle(*submenu, style);
        }
    }
}

}  // namespace app
