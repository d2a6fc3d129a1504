// The whole game from the keyboard and through assistive technology's interfaces, on the real
// window with its real message boxes.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/accessibility.h"
#include "app/status_bar.h"
#include "appearance/color_contrast.h"
#include "board/cell_layout.h"
#include "board/grid_text.h"
#include "sudoku/solver.h"
#include "tests/support/window_fixture.h"

namespace {

class Keyboard : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        MakeWindowWithRealBoxes();
        ShowReady();
    }
    // A key where the player's keys go: the open menu, or else the keyboard focus, once the
    // window is active again after a box.
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::activePopupWidget();
        if (target == nullptr) {
            Window().activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
            target = QApplication::focusWidget();
        }
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
        QCoreApplication::processEvents();
    }
    // The next message box, shown within a second, is read and answered with Return.
    void ReturnOnNextBox() {
        auto* watch = new QTimer(&Window());
        auto deadline = std::make_shared<QDeadlineTimer>(1000);
        QObject::connect(watch, &QTimer::timeout, [this, watch, deadline] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr) {
                answered << box->text();
                QTest::keyClick(box, Qt::Key_Return);
            }
            if (box != nullptr || deadline->hasExpired()) {
                watch->deleteLater();
                watch->stop();
            }
        });
        watch->start(10);
    }
    // The solution of the engine's grid, 81 digits row by row.
    std::string Solution() {
        std::string line;
        for (int i = 0; i < 81; ++i) {
            line += EngineGrid().at(board::GridTextOffset(i % 9, i / 9)).toLatin1();
        }
        const std::optional<sudoku::Grid> solved = sudoku::Solve(*sudoku::ParseLine(line));
        return solved ? sudoku::FormatLine(*solved) : std::string();
    }

    QStringList answered;
};

TEST_F(Keyboard, APuzzleIsMadeSolvedAndConfirmedWithKeysAlone) {
    Key(Qt::Key_F10);
    QMenu& menu = Find<QMenu>("Menu");
    ASSERT_TRUE(menu.isVisible());

    EXPECT_EQ(menu.activeAction()->text(), QStringLiteral("File"));
    for (int key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Return}) {
        Key(key);  // File, New, Puzzle
    }
    EXPECT_FALSE(menu.isVisible());
    ASSERT_GE(FilledCells(), 17);
    const std::string solution = Solution();
    ASSERT_EQ(solution.size(), 81u);

    Key(Qt::Key_Tab);  // onto the board, at its first cell
    ASSERT_TRUE(Board().hasFocus());
    // The selected cell is framed in whichever of black and white reads on its fill, also
    // while another window is in front.
    const QPoint frame = board::CellRect(0, 0).topLeft() + QPoint(3, 12);
    const QPoint inside = board::CellRect(0, 0).topLeft() + QPoint(6, 36);
    QWidget other;
    for (int pass = 0; pass < 2; ++pass) {
        const QImage board = Board().grab().toImage();
        EXPECT_EQ(board.pixelColor(frame), appearance::InkFor(board.pixelColor(inside))) << pass;
        EXPECT_GE(appearance::ContrastRatio(board.pixelColor(frame), board.pixelColor(inside)),
                  3.0);
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    }
    other.hide();

    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            if (Cell(column, row).isEmpty()) {
                Key(Qt::Key_0 + solution[row * 9 + column] - '0');
            }
            Key(column < 8 ? Qt::Key_Right : Qt::Key_Down);
        }
        Key(Qt::Key_Home);
    }
    EXPECT_EQ(FilledCells(), 81);
    ReturnOnNextBox();
    Key(Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(answered, QStringList({"You have solved the grid!"}));
    EXPECT_FALSE(StopwatchRunning());
}

TEST_F(Keyboard, ReturnOnEveryQuestionThatThrowsDigitsAwayKeepsTheGrid) {
    Key(Qt::Key_N, Qt::ControlModifier);  // an empty board asks nothing
    Key(Qt::Key_Tab);
    Key(Qt::Key_End);
    Key(Qt::Key_Down);
    const QString before = EngineGrid();
    ASSERT_NE(before, board::EmptyGridText());
    const std::pair<int, Qt::KeyboardModifiers> commands[] = {
        {Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier},  // Empty grid
        {Qt::Key_N, Qt::ControlModifier},                           // New puzzle
        {Qt::Key_O, Qt::ControlModifier},                           // Load
        {Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier},       // Online challenge
        {Qt::Key_R, Qt::ControlModifier},                           // Show solution
    };
    for (const auto& [key, modifiers] : commands) {
        ReturnOnNextBox();
        Key(key, modifiers);
        EXPECT_EQ(EngineGrid(), before) << key;
    }
    EXPECT_EQ(answered, QStringList({"The unlocked cells will be clear, confirm?",
                                     "Do you want clear the grid and create a new puzzle?",
                                     "Do you want clear the grid and load a new file?",
                                     "Do you want clear the grid and create a new puzzle?",
                                     "Do you want show the solution?"}));
}

TEST_F(Keyboard, TheToolBarIsOneStopWalkedWithArrowsAndPressedWithSpace) {
    Key(Qt::Key_Tab);
    ASSERT_TRUE(Board().hasFocus());
    Key(Qt::Key_Tab);
    EXPECT_TRUE(ToolButton("ToolButton1").hasFocus());
    Key(Qt::Key_End);
    for (int i = 0; i < 4; ++i) {
        Key(Qt::Key_Left);
    }
    EXPECT_TRUE(ToolButton("ToolButton_5").hasFocus());
    Key(Qt::Key_Space);
    EXPECT_TRUE(ToolButton("ToolButton_5").isChecked());
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_TRUE(Board().hasFocus());
    Key(Qt::Key_Tab);  // back where the tool bar was left
    EXPECT_TRUE(ToolButton("ToolButton_5").hasFocus());
}

using AssistiveTechnology = testing_support::WindowTest;

TEST_F(AssistiveTechnology, PressingAPenRunsItsClickAndTheOpenMenuIsInTheTree) {
    ShowReady();
    QAccessibleInterface* pen = QAccessible::queryAccessibleInterface(&ToolButton("ToolButton_4"));
    ASSERT_NE(pen->actionInterface(), nullptr);
    EXPECT_EQ(pen->role(), QAccessible::CheckBox);
    EXPECT_FALSE(pen->state().checked);
    pen->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(pen->state().checked);
    ClickCell(0, 0);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("4"));
    QAccessibleInterface* hint =
        QAccessible::queryAccessibleInterface(&ToolButton("ToolButton_hint"));
    EXPECT_EQ(hint->role(), QAccessible::CheckBox);
    hint->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Panel(app::StatusPanel::Hint), QStringLiteral("Hint none"));

    QAccessibleInterface* application = QAccessible::queryAccessibleInterface(qApp);
    const int closedChildren = application->childCount();
    Window().MenuKeyPressed();
    ASSERT_EQ(application->childCount(), closedChildren + 1);
    QAccessibleInterface* menu = application->child(closedChildren);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->role(), QAccessible::PopupMenu);
    EXPECT_EQ(menu->parent()->object(), qApp);
    EXPECT_EQ(application->indexOfChild(menu), closedChildren);
    EXPECT_EQ(menu->child(0)->text(QAccessible::Name), QStringLiteral("File"));
    EXPECT_TRUE(menu->child(0)->state().focused || menu->child(0)->state().selected);
    // Deeper: Options, its submenu, Level, its submenu: Easy is checked and has its key.
    QAccessibleInterface* easy = menu->child(2)->child(0)->child(0)->child(0)->child(0);
    ASSERT_NE(easy, nullptr);
    EXPECT_EQ(easy->text(QAccessible::Name), QStringLiteral("Easy"));
    EXPECT_TRUE(easy->state().checked);
    EXPECT_EQ(easy->text(QAccessible::Accelerator), QStringLiteral("Alt+1"));
    Find<QMenu>("Menu").hide();
}

TEST(StatusBarAnnouncements, EveryPanelButTheTimeIsAnnouncedWhenItsTextChanges) {
    app::InstallAccessibility();
    QStringList announced;
    app::StatusBar bar(nullptr, [&](QLabel& panel) { announced << panel.objectName(); });
    for (int i = 0; i < app::StatusBar::kPanelCount; ++i) {
        bar.SetPanelText(static_cast<app::StatusPanel>(i), QStringLiteral("changed"));
        bar.SetPanelText(static_cast<app::StatusPanel>(i), QStringLiteral("changed"));
    }
    EXPECT_EQ(announced, QStringList({"StatusPanel0", "StatusPanel1", "StatusPanel3",
                                      "StatusPanel4", "StatusPanel5"}));
    QAccessibleInterface* level =
        QAccessible::queryAccessibleInterface(bar.findChild<QLabel*>("StatusPanel0"));
    EXPECT_EQ(level->text(QAccessible::Name), QStringLiteral("changed"));
    EXPECT_EQ(level->text(QAccessible::Description), QStringLiteral("Level"));
}

}  // namespace
