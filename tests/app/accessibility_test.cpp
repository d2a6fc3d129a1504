#include <gtest/gtest.h>

#include <QAccessible>

#include "app/tool_bar.h"
#include "tests/support/window_fixture.h"

namespace {

using Accessibility = testing_support::WindowTest;

QString Described(QObject* object, QAccessible::Text text) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    return face ? face->text(text) : QStringLiteral("<none>");
}

TEST_F(Accessibility, EveryButtonIsNamedAndHintedButtonsDescribeTheirHint) {
    MakeWindow();
    int hinted = 0;
    for (QToolButton* button : Find<QWidget>("ToolBar").findChildren<QToolButton*>()) {
        if (!button->objectName().startsWith(QLatin1String("ToolButton"))) {
            continue;  // the tool bar's own extension button
        }
        EXPECT_FALSE(Described(button, QAccessible::Name).isEmpty())
            << button->objectName().toStdString();
        EXPECT_EQ(Described(button, QAccessible::Description), button->toolTip());
        hinted += button->toolTip().isEmpty() ? 0 : 1;
    }
    EXPECT_EQ(hinted, 9);
    EXPECT_EQ(ToolButton("ToolButton7").toolTip(), QStringLiteral("New puzzle"));
    EXPECT_EQ(Described(&ToolButton("ToolButton_6"), QAccessible::Name),
              QStringLiteral("Digit 6 pen"));
    for (const char* header : {"BBmenu", "BBminimize", "BBclose"}) {
        EXPECT_FALSE(Described(&Find<QWidget>(header), QAccessible::Name).isEmpty()) << header;
    }
}

TEST_F(Accessibility, StatusPanelsAreLabelsThatReadTheirText) {
    ShowReady();
    for (int i = 0; i < app::StatusBar::kPanelCount; ++i) {
        QLabel& panel = Find<QLabel>(QStringLiteral("StatusPanel%1").arg(i));
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&panel);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->role(), QAccessible::StaticText) << i;
        EXPECT_EQ(face->text(QAccessible::Name), panel.text()) << i;
    }
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
    EXPECT_THROW(toolBar.Action(QStringLiteral("ToolButton9")), std::out_of_range);  // a divider

    for (QAction* pen : toolBar.PenGroup()->actions()) {
        pen->setEnabled(true);
    }
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
