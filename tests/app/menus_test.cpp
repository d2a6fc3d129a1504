#include <gtest/gtest.h>

#include <QMenu>
#include <QTest>

#include "tests/support/window_fixture.h"

namespace {

// The menu as the player reads it: one line per item, indented by depth, "-" a separator.
QStringList Outline(const QMenu* menu, const QString& indent = QString()) {
    QStringList lines;
    for (const QAction* action : menu->actions()) {
        lines << indent + (action->isSeparator() ? QStringLiteral("-") : action->text());
        if (action->menu() != nullptr) {
            lines << Outline(action->menu(), indent + QStringLiteral("  "));
        }
    }
    return lines;
}

using Menus = testing_support::WindowTest;

TEST_F(Menus, TheTreeHoldsEveryCommandInItsOrder) {
    MakeWindow();
    EXPECT_EQ(Outline(&Find<QMenu>("Menu")), QStringList({"File",
                                                          "  New",
                                                          "    Online Challenge",
                                                          "    Puzzle",
                                                          "    Empty Grid",
                                                          "  -",
                                                          "  Load...",
                                                          "  Save Puzzle...",
                                                          "  Save Puzzle As...",
                                                          "  Save Puzzle Image",
                                                          "  -",
                                                          "  Print...",
                                                          "  -",
                                                          "  Close",
                                                          "Actions",
                                                          "  Show solution",
                                                          "  Show Hint",
                                                          "  Lock Squares",
                                                          "  Confirm Grid",
                                                          "  -",
                                                          "  Pause",
                                                          "  Fill In All Notes",
                                                          "  Clear All Notes",
                                                          "  Explain Next Step",
                                                          "  Apply Next Step",
                                                          "Options",
                                                          "  Level",
                                                          "    Easy",
                                                          "    Medium",
                                                          "    Hard",
                                                          "  Skin",
                                                          "    default",
                                                          "  Play Aids",
                                                          "    Highlight Row, Column and Box",
                                                          "    Highlight Same Digits",
                                                          "    Mark Mistakes",
                                                          "Help",
                                                          "  Quillmark Site",
                                                          "  Quillmark Forum",
                                                          "  -",
                                                          "  Check for updates",
                                                          "  -",
                                                          "  About"}));
}

TEST_F(Menus, AfterStartUpOneLevelIsCheckedAndTheLevelChoiceWorks) {
    ShowReady();
    auto checked = [&] {
        QStringList levels;
        for (const char* name : {"Easy1", "Medium1", "Hard1"}) {
            if (MenuItem(name).isChecked()) {
                levels << QString::fromLatin1(name);
            }
        }
        return levels;
    };
    EXPECT_EQ(checked(), QStringList({"Easy1"}));
    EXPECT_EQ(Panel(app::StatusPanel::Level), QStringLiteral("Level: Easy"));

    MenuItem("Medium1").trigger();
    EXPECT_EQ(checked(), QStringList({"Medium1"}));
    // Choosing the current level again changes nothing.
    MenuItem("Medium1").trigger();
    EXPECT_EQ(checked(), QStringList({"Medium1"}));
    EXPECT_EQ(Panel(app::StatusPanel::Level), QStringLiteral("Level: Medium"));
}

TEST_F(Menus, TheMenuButtonOpensTheMenuJustUnderItselfAlsoAfterAMove) {
    TFsudoku_main& window = ShowReady();
    window.move(40, 60);
    QTest::mouseClick(&Find<QWidget>("BBmenu"), Qt::LeftButton);
    QMenu* menu = &Find<QMenu>("Menu");
    ASSERT_TRUE(testing_support::WaitFor([&] { return menu->isVisible(); }));
    EXPECT_EQ(menu->pos(), window.frameGeometry().topLeft() + QPoint(10, 31));
    menu->hide();
}

TEST_F(Menus, TheMinimiseButtonMinimisesTheWindow) {
    TFsudoku_main& window = ShowReady();
    QTest::mouseClick(&Find<QWidget>("BBminimize"), Qt::LeftButton);
    EXPECT_TRUE(window.isMinimized());
}

}  // namespace
