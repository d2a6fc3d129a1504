#include "app/flat_menu_style.h"

#include <gtest/gtest.h>

#include <QImage>

#include "appearance/color_from_hex.h"
#include "toolkit/icons.h"

namespace app {
namespace {

class FlatMenu : public ::testing::Test {
protected:
    FlatMenu() {
        icon_ = menu_.addAction(toolkit::MakeIcon(toolkit::Icon::Load), QStringLiteral("Load..."));
        plain_ = menu_.addAction(QStringLiteral("Show solution"));
        checked_ = AddChecked(QIcon(), QStringLiteral("Easy"));
        checkedIcon_ =
            AddChecked(toolkit::MakeIcon(toolkit::Icon::Lock), QStringLiteral("Lock Squares"));
        separator_ = menu_.addSeparator();
        submenu_ = menu_.addMenu(QStringLiteral("New"));
        submenu_->addAction(QStringLiteral("Puzzle"));
        disabled_ = menu_.addAction(QStringLiteral("Print..."));
        disabled_->setEnabled(false);
        InstallFlatMenuStyle(menu_, style_);
    }

    QAction* AddChecked(const QIcon& icon, const QString& text) {
        QAction* action = menu_.addAction(icon, text);
        action->setCheckable(true);
        action->setChecked(true);
        return action;
    }

    QImage Render() {
        menu_.resize(menu_.sizeHint());
        return menu_.grab().toImage();
    }

    QRect Item(QAction* action) const { return menu_.actionGeometry(action); }
    static QRect Column(const QRect& item) {
        return QRect(item.topLeft(), QSize(FlatMenuStyle::kIconColumnWidth, item.height()));
    }
    static QRect TextArea(const QRect& item) {
        return item.adjusted(FlatMenuStyle::kIconColumnWidth, 0, -30, 0);
    }
    // How many pixels of the area have exactly that colour.
    static int Count(const QImage& image, const QRect& area, const QString& hex) {
        const QColor ink = appearance::QColorFromHex(hex);
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                count += image.pixelColor(x, y) == ink ? 1 : 0;
            }
        }
        return count;
    }
    static QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

    appearance::SkinColors colors_;
    FlatMenuStyle style_{colors_};
    QMenu menu_;
    QAction *icon_, *plain_, *checked_, *checkedIcon_, *separator_, *disabled_;
    QMenu* submenu_;
};

const QColor kMaroon(0x80, 0x00, 0x00);

TEST_F(FlatMenu, ItemsLieOnMaroonBesideTheMenuBarColumnWithBlackSeparators) {
    const QImage image = Render();
    const QColor menuBar = appearance::QColorFromHex(colors_.menu_bar);
    for (QAction* action : menu_.actions()) {
        const QRect item = Item(action);
        EXPECT_EQ(item.height(), action->isSeparator() ? 7 : 22) << action->text().toStdString();
        EXPECT_EQ(At(image, item.left() + 1, item.center().y()), menuBar);
        EXPECT_EQ(At(image, item.right() - 1, item.top() + 1), kMaroon);
    }
    EXPECT_EQ(At(image, 1, 0), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(At(image, 1, 1), menuBar);

    const QRect separator = Item(separator_);
    const int line = separator.top() + separator.height() / 2;
    EXPECT_EQ(At(image, separator.center().x(), line), QColor(Qt::black));
    EXPECT_EQ(At(image, separator.right(), line), QColor(Qt::black));
    EXPECT_EQ(Count(image, Column(separator), "#000000"), 0);
}

TEST_F(FlatMenu, HighlightedItemIsFilledAndFramedInTheSelectionColours) {
    colors_.menu_select_font = "#00ff00";
    menu_.setActiveAction(plain_);
    const QImage image = Render();
    const QRect item = Item(plain_);
    const QColor fill = appearance::QColorFromHex(colors_.menu_select_color);
    const QColor border = appearance::QColorFromHex(colors_.menu_select_border);
    EXPECT_EQ(At(image, item.left() + 1, item.center().y()), fill);
    EXPECT_EQ(At(image, item.right() - 1, item.center().y()), fill);
    EXPECT_EQ(At(image, item.left(), item.center().y()), border);
    EXPECT_EQ(At(image, item.center().x(), item.bottom()), border);
    EXPECT_GT(Count(image, TextArea(item), colors_.menu_select_font), 0);
    EXPECT_EQ(At(image, item.right() - 1, Item(icon_).center().y()), kMaroon);
}

TEST_F(FlatMenu, InkTakesTheMenuFontColourAndDisabledTextIsGrey) {
    colors_.menu_font = "#00ff00";
    colors_.menu_select_border = "#0000ff";
    const QImage image = Render();
    EXPECT_GT(Count(image, TextArea(Item(plain_)), colors_.menu_font), 0);
    EXPECT_EQ(Count(image, TextArea(Item(disabled_)), colors_.menu_font), 0);
    EXPECT_GT(Count(image, TextArea(Item(disabled_)), "#a0a0a0"), 0);

    const auto arrowArea = [this](QAction* action) {
        return Item(action).adjusted(Item(action).width() - 16, 0, 0, 0);
    };
    EXPECT_GT(Count(image, arrowArea(submenu_->menuAction()), colors_.menu_font), 0);
    EXPECT_EQ(Count(image, arrowArea(plain_), colors_.menu_font), 0);

    // A check mark, or the icon framed when there is one.
    EXPECT_GT(Count(image, Column(Item(checked_)), colors_.menu_font), 0);
    EXPECT_EQ(Count(image, Column(Item(plain_)), colors_.menu_font), 0);
    EXPECT_GT(Count(image, Column(Item(checkedIcon_)), colors_.menu_select_border), 40);
    EXPECT_EQ(Count(image, Column(Item(icon_)), colors_.menu_select_border), 0);
}

TEST_F(FlatMenu, AChangedSkinShowsAtTheNextPaintAndABadColourFallsBack) {
    colors_.menu_bar = "#123456";
    const QRect plain = Item(plain_);
    EXPECT_EQ(At(Render(), plain.left() + 1, plain.center().y()), QColor(0x12, 0x34, 0x56));

    colors_.menu_bar = "red";
    colors_.menu_select_color = "#12";
    menu_.setActiveAction(plain_);
    const QImage image = Render();
    const appearance::SkinColors standard;
    EXPECT_EQ(At(image, plain.left() + 1, Item(icon_).center().y()),
              appearance::QColorFromHex(standard.menu_bar));
    EXPECT_EQ(At(image, plain.left() + 1, plain.center().y()),
              appearance::QColorFromHex(standard.menu_select_color));
}

TEST_F(FlatMenu, EverySubmenuTakesTheStyleAndBoldEightPointTahoma) {
    QMenu* later = submenu_->addMenu(QStringLiteral("Later"));
    QMenu* added = new QMenu(QStringLiteral("Added"), &menu_);
    later->addMenu(added);
    for (QMenu* menu : {&menu_, submenu_, later, added}) {
        EXPECT_EQ(menu->style(), &style_) << menu->title().toStdString();
        EXPECT_EQ(menu->font().family(), QStringLiteral("Tahoma"));
        EXPECT_EQ(menu->font().pointSize(), 8);
        EXPECT_TRUE(menu->font().bold());
    }
}

}  // namespace
}  // namespace app
