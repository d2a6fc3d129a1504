#include <gtest/gtest.h>

#include <QAccessible>

#include "app/header_bar.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "tests/support/window_fixture.h"

namespace {

using Accessibility = testing_support::WindowTest;

QString Described(QObject* object, QAccessible::Text text) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(text) : QStringLiteral("<none>");
}

TEST_F(Accessibility, ToolButtonsCarryTheirHints) {
    TFsudoku_main& window = MakeWindow();
    const std::pair<const char*, const char*> hints[] = {
        {"ToolButton1", "Load"},          {"ToolButton2", "Save"},
        {"ToolButton4", "Print"},         {"ToolButton5", "New on-line challenge"},
        {"ToolButton7", "New puzzle"},    {"ToolButton_blank", "Empty grid"},
        {"ToolButton8", "Confirm grid"},  {"ToolButton_lock", "Lock squares"},
        {"ToolButton_hint", "Show hint"},
    };
    for (const auto& [name, hint] : hints) {
        QToolButton* button = window.ToolBar->Button(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        EXPECT_EQ(Described(button, QAccessible::Description), QString::fromLatin1(hint)) << name;
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(hint)) << name;
    }
    // The pen buttons have no tool tip but still a name.
    QToolButton* eraser = window.ToolBar->Button(QStringLiteral("ToolButton_canc"));
    EXPECT_EQ(eraser->toolTip(), QString());
    EXPECT_EQ(Described(eraser, QAccessible::Name), QStringLiteral("Eraser pen"));
    EXPECT_EQ(Described(window.ToolBar->Button(QStringLiteral("ToolButton_6")), QAccessible::Name),
              QStringLiteral("Digit 6 pen"));
}

TEST_F(Accessibility, HeaderButtonsAreNamed) {
    TFsudoku_main& window = MakeWindow();
    EXPECT_EQ(Described(window.cntHeader->BBmenu, QAccessible::Name), QStringLiteral("Menu"));
    EXPECT_EQ(Described(window.cntHeader->BBminimize, QAccessible::Name),
              QStringLiteral("Minimise"));
    EXPECT_EQ(Described(window.cntHeader->BBclose, QAccessible::Name), QStringLiteral("Close"));
}

TEST_F(Accessibility, StatusPanelsAreLabelsThatReadTheirText) {
    TFsudoku_main& window = MakeWindow();
    window.StatusBar->SetPanelText(2, QStringLiteral("01 : 02 : 05"));
    for (int i = 0; i < app::StatusBar::kPanelCount; ++i) {
        QAccessibleInterface* panel =
            QAccessible::queryAccessibleInterface(window.StatusBar->Panel(i));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->role(), QAccessible::StaticText) << i;
        EXPECT_EQ(panel->text(QAccessible::Name), window.StatusBar->PanelText(i)) << i;
    }
    EXPECT_EQ(Described(window.StatusBar->Panel(2), QAccessible::Name),
              QStringLiteral("01 : 02 : 05"));
}

TEST(ToolBarLayout, ButtonsStandInTheirOrderAndThePenGroupMayBeAllUp) {
    QWidget parent;
    parent.resize(662, 100);
    app::ToolBar toolBar(&parent);
    EXPECT_EQ(toolBar.ButtonNames(),
              QStringList({"ToolButton3",  "ToolButton1",     "ToolButton2",     "ToolButton4",
                           "ToolButton6",  "ToolButton5",     "ToolButton7",     "ToolButton_blank",
                           "ToolButton8",  "ToolButton9",     "ToolButton_lock", "ToolButton_hint",
                           "ToolButton12", "ToolButton_canc", "ToolButton_1",    "ToolButton_2",
                           "ToolButton_3", "ToolButton_4",    "ToolButton_5",    "ToolButton_6",
                           "ToolButton_7", "ToolButton_8",    "ToolButton_9",    "ToolButton10"}));
    EXPECT_EQ(toolBar.Button(QStringLiteral("ToolButton7"))->width(), 23);

    toolBar.PenAction(3)->trigger();
    EXPECT_TRUE(toolBar.PenAction(3)->isChecked());
    toolBar.PenAction(0)->trigger();
    EXPECT_TRUE(toolBar.PenAction(0)->isChecked());
    EXPECT_FALSE(toolBar.PenAction(3)->isChecked());
    toolBar.PenAction(0)->trigger();
    for (int i = 0; i < 10; ++i) {
        EXPECT_FALSE(toolBar.PenAction(i)->isChecked()) << i;
    }
}

}  // namespace
