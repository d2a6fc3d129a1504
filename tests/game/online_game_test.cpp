// The online ladder game end to end: the real window, the real engine component and a real
// quillmark-ladderd on a free loopback port with a fresh database.

#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QCoreApplication>
#include <QFile>
#include <cstdlib>

#include "app/popup_menu.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "board/board_grid.h"
#include "game/engine_result.h"
#include "ladder_server/protocol.h"
#include "tests/support/ladder_server_process.h"
#include "tests/support/window_fixture.h"

namespace {

using testing_support::ShownBox;

TEST(EngineResult, TellsErrorCodesAndSecondsFromEverythingElse) {
    EXPECT_TRUE(game::IsEngineErrorCode(QStringLiteral("ERROR_NOT_ENABLED_ONLINE")));
    EXPECT_TRUE(game::IsEngineErrorCode(QStringLiteral("ERRORE_SERVER_NON_RAGGIUNGIBILE")));
    EXPECT_FALSE(game::IsEngineErrorCode(QStringLiteral("ERRORE_x")));
    EXPECT_FALSE(game::IsEngineErrorCode(QStringLiteral("9f86d081884c7d659a2feaa0c55ad015")));
    EXPECT_EQ(game::DecimalSeconds(QStringLiteral("3725")), 3725u);
    EXPECT_EQ(game::DecimalSeconds(QStringLiteral("-1")), std::nullopt);
    EXPECT_EQ(game::DecimalSeconds(QStringLiteral("12s")), std::nullopt);
    EXPECT_EQ(game::DecimalSeconds(QString()), std::nullopt);
}

class OnlineGame : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        server_.AddUser("ada", "lovelace");
        server_.AddUser("bob", "builder", /*enabled=*/false);
        setenv(ladder::kServerUrlVariable, server_.Url().c_str(), 1);
    }
    void TearDown() override {
        WindowTest::TearDown();
        unsetenv(ladder::kServerUrlVariable);
    }

    // The window, ready, playing as that account, with the hint switch as given.
    TFsudoku_main& ReadyAs(const char* user, const char* password, const char* hint = "false") {
        QFile config(ProgramDir() + "config.ini");
        EXPECT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(QByteArray("[param]\r\nskin=default\r\nlevel=Easy\r\nhint=") + hint +
                     "\r\nuser=" + user + "\r\npwd=" + password + "\r\nmail=");
        config.close();
        return ShowReady();
    }
    void StartChallenge() { Window().ToolBar->Button(QStringLiteral("ToolButton5"))->click(); }
    bool HintControlsEnabled() {
        return Window().Menu->Item(QStringLiteral("ShowHint1"))->isEnabled() &&
               Window().ToolBar->Action(QStringLiteral("ToolButton_hint"))->isEnabled();
    }
    std::size_t Forfeits() { return Engine().CallsTo("RinunciaGiocoLadder").size(); }
    void LeaveTheProgram() {
        QWindowSystemInterface::handleApplicationStateChanged(Qt::ApplicationInactive);
        QCoreApplication::processEvents();
        QWindowSystemInterface::handleApplicationStateChanged(Qt::ApplicationActive);
        QCoreApplication::processEvents();
    }
    // Fills the engine's grid with the solution, as a player who solved it would.
    void SolveOnTheBoard() {
        ASSERT_EQ(Window().Engine().CallText("risolvi"), QStringLiteral("1"));
        Window().RefreshBoard(QStringLiteral("soluzione"));
    }

    testing_support::LadderServerProcess server_;
};

TEST_F(OnlineGame, AnEnabledAccountGetsTheServersPuzzleWithHintsLockedOff) {
    TFsudoku_main& window = ReadyAs("ada", "lovelace", "true");
    StartChallenge();
    EXPECT_TRUE(Boxes().shown.empty());
    EXPECT_TRUE(window.GameMode);
    EXPECT_GE(window.LadderGameId.size(), 32);
    EXPECT_EQ(window.StatusBar->PanelText(0), QStringLiteral("Online game"));
    EXPECT_EQ(window.StatusBar->PanelText(4), QStringLiteral("Hint disabled"));
    EXPECT_FALSE(HintControlsEnabled());
    EXPECT_GE(window.LockedCells.Count(), 17);
    EXPECT_TRUE(window.Cronometro->isActive());
    EXPECT_TRUE(Engine().CallsTo("genera").empty());  // the server chose the puzzle

    // Giving up brings the player's own hint switch back.
    Boxes().AnswerNextConfirmations({true});
    window.Puzzle1Click();
    EXPECT_FALSE(window.GameMode);
    EXPECT_EQ(window.HintSetting, QStringLiteral("true"));
    EXPECT_TRUE(HintControlsEnabled());
    EXPECT_EQ(window.StatusBar->PanelText(0), QStringLiteral("Level: Easy"));
}

TEST_F(OnlineGame, AnAccountNotEnabledIsRefusedAndNoGameStarts) {
    for (auto [user, password] : {std::pair{"bob", "builder"}, std::pair{"ada", "wrong"}}) {
        TFsudoku_main& window = MakeWindow();
        ReadyAs(user, password);
        StartChallenge();
        EXPECT_EQ(
            Boxes().shown,
            (std::vector<ShownBox>{{ShownBox::Kind::Error, "User not enabled for online games!"}}))
            << user;
        EXPECT_FALSE(window.GameMode);
        EXPECT_FALSE(window.Splash_Panel->isVisible());
        EXPECT_EQ(EngineGrid(), window.EmptyGridText);
        EXPECT_FALSE(window.Cronometro->isActive());
    }
}

TEST_F(OnlineGame, ASolvedGridIsReportedAndTheServersTimeIsShown) {
    TFsudoku_main& window = ReadyAs("ada", "lovelace");
    StartChallenge();
    ASSERT_TRUE(window.GameMode);
    ASSERT_EQ(server_.MoveOpenGamesStartBack("ada", 3725), 1);
    SolveOnTheBoard();
    window.ConfirmGrid1Click();
    EXPECT_EQ(Boxes().Texts(), QStringList({"You have solved the grid!"}));
    EXPECT_FALSE(window.GameMode);
    // The game ran 3725 s and a moment on the server's clock.
    EXPECT_TRUE(window.StatusBar->PanelText(2).startsWith(QStringLiteral("01 : 02 : 0")))
        << window.StatusBar->PanelText(2).toStdString();
    EXPECT_EQ(Forfeits(), 0u);
}

TEST_F(OnlineGame, AGridTheServerRefusesEndsTheGameWithItsMessage) {
    TFsudoku_main& window = ReadyAs("ada", "lovelace");
    StartChallenge();
    SolveOnTheBoard();
    // Another valid full grid: the solution with its 1s and 2s swapped. The engine finds it
    // correct; the server knows it is not this puzzle's solution.
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            const QString digit = window.StringGrid->CellText(column, row);
            if (digit == QLatin1String("1") || digit == QLatin1String("2")) {
                window.Engine().CallText("scrivi_cella",
                                         {row, column, digit == QLatin1String("1") ? "2" : "1"});
            }
        }
    }
    window.ConfirmGrid1Click();
    EXPECT_EQ(Boxes().Texts(), QStringList({"You have solved the grid!", "Incorrect solution!"}));
    EXPECT_FALSE(window.GameMode);
}

TEST_F(OnlineGame, NewPuzzleAnsweredNoLeavesTheGameAndYesGivesItUpFirst) {
    TFsudoku_main& window = ReadyAs("ada", "lovelace");
    StartChallenge();
    window.Puzzle1Click();  // answered No
    EXPECT_TRUE(window.GameMode);
    EXPECT_EQ(window.StatusBar->PanelText(0), QStringLiteral("Online game"));
    EXPECT_TRUE(window.Cronometro->isActive());
    EXPECT_EQ(Forfeits(), 0u);

    Boxes().AnswerNextConfirmations({true});
    Engine().ClearCalls();
    window.Puzzle1Click();
    ASSERT_EQ(Forfeits(), 1u);
    EXPECT_EQ(Engine().Calls().front().member, "restituisci_stringa");
    EXPECT_EQ(Engine().CallsTo("genera").size(), 1u);
    EXPECT_FALSE(window.GameMode);
    EXPECT_EQ(Boxes().shown.size(), 2u);  // the two questions; the forfeit was taken
}

TEST_F(OnlineGame, ShowingTheSolutionGivesTheGameUpBeforeTheBoardChanges) {
    TFsudoku_main& window = ReadyAs("ada", "lovelace");
    StartChallenge();
    Boxes().AnswerNextConfirmations({true});
    std::size_t forfeitsBeforeSolving = 99;
    Engine().SetOverride([&](const std::string& member,
                             std::span<engine::Variant>) -> std::optional<engine::Variant> {
        if (member == "azzera") {
            forfeitsBeforeSolving = Forfeits();
        }
        return std::nullopt;
    });
    window.Showsolution1Click();
    EXPECT_EQ(forfeitsBeforeSolving, 1u);
    EXPECT_FALSE(window.GameMode);
    EXPECT_EQ(window.StatusBar->PanelText(0), QStringLiteral("Level: Easy"));
}

TEST_F(OnlineGame, LeavingTheProgramGivesTheGameUpOncePerGame) {
    TFsudoku_main& window = ReadyAs("ada", "lovelace");
    StartChallenge();
    LeaveTheProgram();
    const QString warning = QStringLiteral(
        "Online game is terminated: you cannot leave the quillmark during online games!");
    EXPECT_EQ(Boxes().Texts(), QStringList({warning}));
    EXPECT_EQ(Forfeits(), 1u);
    EXPECT_FALSE(window.GameMode);

    LeaveTheProgram();  // the game is over: nothing more
    EXPECT_EQ(Boxes().Texts(), QStringList({warning}));
    EXPECT_EQ(Forfeits(), 1u);
}

TEST_F(OnlineGame, ClosingDuringAGameSendsExactlyOneForfeit) {
    TFsudoku_main& window = ReadyAs("ada", "lovelace");
    StartChallenge();
    window.BBcloseClick();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Forfeits(), 1u);
    EXPECT_TRUE(Boxes().shown.empty());
}

TEST_F(OnlineGame, ASecondChallengeSendsNoForfeitForTheFirst) {
    TFsudoku_main& window = ReadyAs("ada", "lovelace");
    StartChallenge();
    const QString firstGame = window.LadderGameId;
    Boxes().AnswerNextConfirmations({true});
    StartChallenge();
    EXPECT_EQ(Forfeits(), 0u);
    EXPECT_TRUE(window.GameMode);
    EXPECT_NE(window.LadderGameId, firstGame);
}

TEST_F(OnlineGame, ANewerVersionStopsTheChallengeWhateverTheAnswer) {
    server_.SetVersion("99.0.0", "https://quillmark.example/download/99");
    TFsudoku_main& window = ReadyAs("ada", "lovelace");
    StartChallenge();  // answered No
    Boxes().AnswerNextConfirmations({true});
    StartChallenge();
    EXPECT_EQ(Boxes().Texts(),
              QStringList({"A new version is available for update. Do you want download it now?",
                           "A new version is available for update. Do you want download it now?"}));
    EXPECT_EQ(Opened(), QStringList({"https://quillmark.example/download/99"}));
    EXPECT_TRUE(Engine().CallsTo("IniziaGiocoLadder").empty());
    EXPECT_FALSE(window.GameMode);
}

}  // namespace
