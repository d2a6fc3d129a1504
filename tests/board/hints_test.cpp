#include <gtest/gtest.h>

#include "board/hint_text.h"
#include "tests/support/window_fixture.h"

namespace {

using app::StatusPanel;

TEST(FormatCandidates, ListsEachFlaggedDigitBetweenBlanksAndBars) {
    auto list = [](const char* text) {
        return board::FormatCandidates(board::CandidateNotes(QString::fromLatin1(text)));
    };
    EXPECT_EQ(list("0010010001"), QStringLiteral(" 2 | 5 | 9 |"));
    EXPECT_EQ(list("1111111111"), QStringLiteral(" 1 | 2 | 3 | 4 | 5 | 6 | 7 | 8 | 9 |"));
    EXPECT_EQ(list("x11"), QStringLiteral(" 1 | 2 |"));
    EXPECT_EQ(list("1000000000"), QString());
    EXPECT_EQ(list(""), QString());
}

using Hints = testing_support::WindowTest;

TEST_F(Hints, OffASelectionSaysDisabledAndOnItListsTheCandidates) {
    ShowReady();
    EXPECT_EQ(Panel(StatusPanel::Hint), QStringLiteral("Hint disabled"));
    ClickCell(3, 3);
    EXPECT_EQ(Panel(StatusPanel::Hint), QStringLiteral("Hint disabled"));
    EXPECT_TRUE(Engine().CallsTo("leggi_candidati").empty());

    ToolButton("ToolButton_hint").click();
    EXPECT_TRUE(MenuItem("ShowHint1").isChecked());
    EXPECT_EQ(Panel(StatusPanel::Hint), QStringLiteral("Hint none"));  // no colon yet
    Enter(1, 0, u'5');
    Enter(0, 1, u'9');
    Engine().ClearCalls();
    ClickCell(0, 0);
    ASSERT_EQ(Engine().CallsTo("leggi_candidati").size(), 1u);
    EXPECT_EQ(Panel(StatusPanel::Hint), QStringLiteral("Hint: | 1 | 2 | 3 | 4 | 6 | 7 | 8 |"));
    ClickCell(1, 0);  // a filled cell has no candidates
    EXPECT_EQ(Panel(StatusPanel::Hint), QStringLiteral("Hint: none"));
}

TEST_F(Hints, TogglingTwiceLeavesTheSettingAndTheFileAsTheyWere) {
    ShowReady();
    const QByteArray before = ConfigText();
    ToolButton("ToolButton_hint").click();
    EXPECT_TRUE(ConfigText().contains("hint=true"));
    ToolButton("ToolButton_hint").click();
    EXPECT_EQ(ConfigText(), before);
    EXPECT_FALSE(ToolButton("ToolButton_hint").isChecked());
    EXPECT_EQ(Panel(StatusPanel::Hint), QStringLiteral("Hint disabled"));
}

}  // namespace
