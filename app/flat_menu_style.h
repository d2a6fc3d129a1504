#pragma once

#include <QFont>
#include <QMenu>
#include <QProxyStyle>

#include "appearance/skin_colors.h"

namespace app {

// Draws popup menus flat: a column for icons and check marks down the left in the skin's menu
// bar colour, items on a maroon ground in the skin's menu font colour, the highlighted item
// framed and filled in the skin's selection colours, black separator lines and a thin dark
// frame. Every other control is left to the Fusion style.
//
// The colours are read from `colors` at every paint, so a changed skin shows at the next
// paint; `colors` must outlive the style. A colour text that cannot be read is drawn in that
// key's standard colour.
class FlatMenuStyle : public QProxyStyle {
    Q_OBJECT

public:
    // Menu geometry, in pixels.
    static constexpr int kFrameWidth = 1;
    static constexpr int kIconColumnWidth = 24;
    static constexpr int kItemHeight = 22;
    static constexpr int kSeparatorHeight = 7;

    explicit FlatMenuStyle(const appearance::SkinColors& colors);

    // Bold 8-point Tahoma, the font of every menu the style is installed on.
    static QFont MenuFont();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

protected:
    // Watches the menus it is installed on, to install itself on submenus added later.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DrawMenuItem(const QStyleOptionMenuItem& item, QPainter& painter) const;
    void DrawColumnAndGround(const QRect& area, int columnLeft, QPainter& painter) const;

    const appearance::SkinColors& colors_;
};

// Gives `root` and every submenu below it the style and its font, and keeps doing so for
// submenus added to any of them later (a rebuilt Skin submenu, say). The style is not owned:
// it must outlive the menus or be destroyed with them (the menus then fall back to the
// application's style).
void InstallFlatMenuStyle(QMenu& root, FlatMenuStyle& style);

}  // namespace app
