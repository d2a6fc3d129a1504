#include <gtest/gtest.h>

#include <QTest>

#include "app/header_bar.h"
#include "app/popup_menu.h"
#include "app/status_bar.h"
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
    TFsudoku_main& window = MakeWindow();
    EXPECT_EQ(Outline(window.Menu->Menu()), QStringList({"File",
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
                                                         "Options",
                                                         "  Level",
                                                         "    Easy",
                                                         "    Medium",
                                                         "    Hard",
                                                         "  Skin",
                                                         "    default",
                                                         "Help",
                                                         "  Quillmark Site",
                                                         "  Quillmark Forum",
                                                         "  -",
                                                         "  Check for updates",
                                                         "  -",
                                                         "  About"}));
}

TEST_F(Menus, AfterStartUpOneLevelIsCheckedAndTheLevelChoiceWorks) {
    TFsudoku_main& window = ShowReady();
    auto checked = [&] {
        QStringList levels;
        for (const char* name : {"Easy1", "Medium1", "Hard1"}) {
            if (window.Menu->Item(QString::fromLatin1(name))->isChecked()) {
                levels << QString::fromLatin1(name);
            }
        }
        return levels;
    };
    EXPECT_EQ(checked(), QStringList({"Easy1"}));
    EXPECT_EQ(window.StatusBar->PanelText(0), QStringLiteral("Level: Easy"));

    window.Menu->Item(QStringLiteral("Medium1"))->trigger();
    EXPECT_EQ(checked(), QStringList({"Medium1"}));
    // Choosing the current level again changes nothing.
    window.Menu->Item(QStringLiteral("Medium1"))->trigger();
    EXPECT_EQ(checked(), QStringList({"Medium1"}));
    EXPECT_EQ(window.Level, QStringLiteral("Medium"));
    EXPECT_EQ(window.StatusBar->PanelText(0), QStringLiteral("Level: Medium"));
}

TEST_F(Menus, TheMenuButtonOpensTheMenuJustUnderItselfAlsoAfterAMove) {
    TFsudoku_main& window = ShowReady();
    window.move(40, 60);
    QTest::mouseClick(window.cntHeader->BBmenu, Qt::LeftButton);
    QMenu* menu = window.Menu->Menu();
    ASSERT_TRUE(testing_support::WaitFor([&] { return menu->isVisible(); }));
    EXPECT_EQ(menu->pos(), window.frameGeometry().topLeft() + QPoint(10, 31));
    menu->hide();
}

TEST_F(Menus, TheMinimiseButtonMinimisesTheWindow) {
    TFsudoku_main& window = ShowReady();
    QTest::mouseClick(window.cntHeader->BBminimize, Qt::LeftButton);
    EXPECT_TRUE(window.isMinimized());
}

}  // namespace
