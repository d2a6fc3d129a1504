#include <gtest/gtest.h>

#include <QFile>

#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "board/hint_text.h"
#include "tests/support/window_fixture.h"

namespace {

TEST(FormatCandidates, ListsEachFlaggedDigitBetweenBlanksAndBars) {
    EXPECT_EQ(board::FormatCandidates(QStringLiteral("0010010001")),
              QStringLiteral(" 2 | 5 | 9 |"));
    EXPECT_EQ(board::FormatCandidates(QStringLiteral("1111111111")),
              QStringLiteral(" 1 | 2 | 3 | 4 | 5 | 6 | 7 | 8 | 9 |"));
    EXPECT_EQ(board::FormatCandidates(QStringLiteral("x11")), QStringLiteral(" 1 | 2 |"));
    EXPECT_EQ(board::FormatCandidates(QStringLiteral("1000000000")), QString());
    EXPECT_EQ(board::FormatCandidates(QString()), QString());
}

class Hints : public testing_support::WindowTest {
protected:
    QString Panel() { return Window().StatusBar->PanelText(4); }
    void ClickHintButton() { Window().ToolBar->Button(QStringLiteral("ToolButton_hint"))->click(); }
};

TEST_F(Hints, WithHintsOffASelectionSaysDisabledAndAsksTheEngineNothing) {
    ShowReady();
    EXPECT_EQ(Panel(), QStringLiteral("Hint disabled"));
    ClickCell(3, 3);
    EXPECT_EQ(Panel(), QStringLiteral("Hint disabled"));
    EXPECT_TRUE(Engine().CallsTo("leggi_candidati").empty());
}

TEST_F(Hints, SwitchedOnTheSelectedCellsCandidatesAreListed) {
    TFsudoku_main& window = ShowReady();
    ClickHintButton();
    EXPECT_EQ(window.HintSetting, QStringLiteral("true"));
    EXPECT_EQ(Panel(), QStringLiteral("Hint none"));  // no cell selected yet: no colon

    window.Engine().CallText("scrivi_cella", {0, 1, std::string("5")});
    window.Engine().CallText("scrivi_cella", {1, 0, std::string("9")});
    ClickCell(0, 0);
    ASSERT_EQ(Engine().CallsTo("leggi_candidati").size(), 1u);
    EXPECT_EQ(Panel(), QStringLiteral("Hint: | 1 | 2 | 3 | 4 | 6 | 7 | 8 |"));
    ClickCell(1, 0);  // a filled cell has no candidates
    EXPECT_EQ(Panel(), QStringLiteral("Hint: none"));
}

TEST_F(Hints, TogglingTwiceLeavesTheSettingAndTheFileAsTheyWere) {
    TFsudoku_main& window = ShowReady();
    QFile config(ProgramDir() + "config.ini");
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    const QByteArray before = config.readAll();
    config.close();
    ClickHintButton();
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    EXPECT_TRUE(config.readAll().contains("hint=true"));
    config.close();
    ClickHintButton();
    ASSERT_TRUE(config.open(QIODevice::ReadOnly));
    EXPECT_EQ(config.readAll(), before);
    EXPECT_EQ(window.HintSetting, QStringLiteral("false"));
    EXPECT_FALSE(window.ToolBar->Action(QStringLiteral("ToolButton_hint"))->isChecked());
}

}  // namespace
