// The online ladder game end to end: the real window, the real engine component and a real
// quillmark-ladderd on a free loopback port with a fresh database.

#include <gtest/gtest.h>
#include <qpa/qwindowsysteminterface.h>

#include <QCoreApplication>
#include <QFile>
#include <cstdlib>

#include "board/grid_text.h"
#include "game/engine_result.h"
#include "game/online_game.h"
#include "ladder_protocol/protocol.h"
#include "tests/support/ladder_server_process.h"
#include "tests/support/window_fixture.h"

namespace {

using app::StatusPanel;
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
        WriteConfig(QByteArray("[param]\r\nskin=default\r\nlevel=Easy\r\nhint=") + hint +
                    "\r\nuser=" + user + "\r\npwd=" + password + "\r\nmail=");
        return ShowReady();
    }
    void StartChallenge() { ToolButton("ToolButton5").click(); }
    bool HintControlsEnabled() {
        return MenuItem("ShowHint1").isEnabled() && ToolButton("ToolButton_hint").isEnabled();
    }
    game::OnlineGame& Game() { return Find<game::OnlineGame>(); }
    std::size_t Forfeits() { return Engine().CallsTo("RinunciaGiocoLadder").size(); }
    void LeaveTheProgram() {
        QWindowSystemInterface::handleApplicationStateChanged(Qt::ApplicationInactive);
        QCoreApplication::processEvents();
        QWindowSystemInterface::handleApplicationStateChanged(Qt::ApplicationActive);
        QCoreApplication::processEvents();
    }
    // Fills the engine's grid with the solution, as a player who solved it would.
    void SolveOnTheBoard() { ASSERT_EQ(Engine().CallText("risolvi"), QStringLiteral("1")); }

    testing_support::LadderServerProcess server_;
};

TEST_F(OnlineGame, AnEnabledAccountGetsTheServersPuzzleWithHintsLockedOff) {
    TFsudoku_main& window = ReadyAs("ada", "lovelace", "true");
    StartChallenge();
    EXPECT_TRUE(Boxes().shown.empty());
    EXPECT_TRUE(Game().IsRunning());
    EXPECT_GE(Game().GameId().size(), 32);
    EXPECT_EQ(Panel(StatusPanel::Level), QStringLiteral("Online game"));
    EXPECT_EQ(Panel(StatusPanel::Hint), QStringLiteral("Hint disabled"));
    EXPECT_FALSE(HintControlsEnabled());
    EXPECT_FALSE(MenuItem("ShowHint1").isChecked());
    EXPECT_GE(FilledCells(), 17);
    EXPECT_EQ(FilledCells(), 81 - EngineGrid().count(u'0'));
    EXPECT_TRUE(StopwatchRunning());
    EXPECT_TRUE(Engine().CallsTo("genera").empty());  // the server chose the puzzle

    // Giving up brings the player's own hint switch back.
    Boxes().AnswerNextConfirmations({true});
    window.Puzzle1Click();
    EXPECT_FALSE(Game().IsRunning());
    EXPECT_TRUE(MenuItem("ShowHint1").isChecked());
    EXPECT_EQ(Panel(StatusPanel::Hint), QStringLiteral("Hint none"));
    EXPECT_TRUE(HintControlsEnabled());
    EXPECT_EQ(Panel(StatusPanel::Level), QStringLiteral("Level: Easy"));
}

TEST_F(OnlineGame, TheSolutionStaysTheServersAndTheGameIsNeitherPausedNorNoted) {
    QFile aids(ProgramDir() + QStringLiteral("play_aids.ini"));
    ASSERT_TRUE(aids.open(QIODevice::WriteOnly));
    aids.write("[aids]\nmark_mistakes=true\n");
    aids.close();
    TFsudoku_main& window = ReadyAs("ada", "lovelace");
    StartChallenge();
    ASSERT_TRUE(Game().IsRunning());
    EXPECT_TRUE(MenuItem("MarkMistakes1").isChecked());
    EXPECT_TRUE(Engine().CallsTo("UniqueSolution").empty());
    for (const char* item :
         {"Pause1", "FillInAllNotes1", "ClearAllNotes1", "ExplainNextStep1", "ApplyNextStep1"}) {
        EXPECT_FALSE(MenuItem(item).isEnabled()) << item;
    }
    // Neither rated nor explained: a step would give the server's puzzle away.
    Press(Qt::Key_F9);
    EXPECT_TRUE(Engine().CallsTo("valuta_puzzle").empty());
    EXPECT_TRUE(Engine().CallsTo("spiega_passo").empty());
    EXPECT_FALSE(Find<QLabel>("Rating_Panel").isVisible());
    Press(Qt::Key_F8);
    EXPECT_TRUE(StopwatchRunning());

    // Once the game is given up, the puzzle's solution may be known.
    Boxes().AnswerNextConfirmations({true});
    window.Puzzle1Click();
    EXPECT_FALSE(Engine().CallsTo("UniqueSolution").empty());
    EXPECT_TRUE(MenuItem("Pause1").isEnabled());
}

TEST_F(OnlineGame, AnAccountNotEnabledIsRefusedAndNoGameStarts) {
    for (auto [user, password] : {std::pair{"bob", "builder"}, std::pair{"ada", "wrong"}}) {
        MakeWindow();
        ReadyAs(user, password);
        StartChallenge();
        EXPECT_EQ(
            Boxes().shown,
            (std::vector<ShownBox>{{ShownBox::Kind::Error, "User not enabled for online games!"}}))
            << user;
        EXPECT_FALSE(Game().IsRunning());
        EXPECT_FALSE(Splash().isVisible());
        EXPECT_EQ(EngineGrid(), board::EmptyGridText());
        EXPECT_FALSE(StopwatchRunning());
    }
}

TEST_F(OnlineGame, ASolvedGridIsReportedAndTheServersTimeIsShown) {
    TFsudoku_main& window = ReadyAs("ada", "lovelace");
    StartChallenge();
    ASSERT_TRUE(Game().IsRunning());
    ASSERT_EQ(server_.MoveOpenGamesStartBack("ada", 3725), 1);
    SolveOnTheBoard();
    window.ConfirmGrid1Click();
    EXPECT_EQ(Boxes().Texts(), QStringList({"You have solved the grid!"}));
    EXPECT_FALSE(Game().IsRunning());
    // The game ran 3725 s and a moment on the server's clock.
    EXPECT_TRUE(Panel(StatusPanel::Time).startsWith(QStringLiteral("01 : 02 : 0")))
        << Panel(StatusPanel::Time).toStdString();
    EXPECT_EQ(Forfeits(), 0u);
}

TEST_F(OnlineGame, AGridTheServerRefusesEndsTheGameWithItsMessage) {
    TFsudoku_main& window = ReadyAs("ada", "lovelace");
    StartChallenge();
    SolveOnTheBoard();
    // Another valid full grid: the solution with its 1s and 2s swapped. The engine finds it
    // correct; the server knows it is not this puzzle's solution.
    const QString solution = EngineGrid();
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            const QChar digit = solution[board::GridTextOffset(column, row)];
            if (digit == u'1' || digit == u'2') {
                Engine().CallText("scrivi_cella", {row, column, digit == u'1' ? "2" : "1"});
            }
        }
    }
    window.ConfirmGrid1Click();
    EXPECT_EQ(Boxes().Texts(), QStringList({"You have solved the grid!", "Incorrect solution!"}));
    EXPECT_FALSE(Game().IsRunning());
}

TEST_F(OnlineGame, NewPuzzleAnsweredNoLeavesTheGameAndYesGivesItUpFirst) {
    TFsudoku_main& window = ReadyAs("ada", "lovelace");
    StartChallenge();
    window.Puzzle1Click();  // answered No
    EXPECT_TRUE(Game().IsRunning());
    EXPECT_EQ(Panel(StatusPanel::Level), QStringLiteral("Online game"));
    EXPECT_TRUE(StopwatchRunning());
    EXPECT_EQ(Forfeits(), 0u);

    Boxes().AnswerNextConfirmations({true});
    Engine().ClearCalls();
    window.Puzzle1Click();
    ASSERT_EQ(Forfeits(), 1u);
    EXPECT_EQ(Engine().Calls().front().member, "restituisci_stringa");
    EXPECT_EQ(Engine().CallsTo("genera").size(), 1u);
    EXPECT_FALSE(Game().IsRunning());
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
    EXPECT_FALSE(Game().IsRunning());
    EXPECT_EQ(Panel(StatusPanel::Level), QStringLiteral("Level: Easy"));
}

TEST_F(OnlineGame, LeavingTheProgramGivesTheGameUpOncePerGame) {
    ReadyAs("ada", "lovelace");
    StartChallenge();
    LeaveTheProgram();
    const QString warning = QStringLiteral(
        "Online game is terminated: you cannot leave the quillmark during online games!");
    EXPECT_EQ(Boxes().Texts(), QStringList({warning}));
    EXPECT_EQ(Forfeits(), 1u);
    EXPECT_FALSE(Game().IsRunning());

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

TEST_F(OnlineGame, ASecondChallengeSendsNoForfeitForTheFirstAndKeepsThePlayersHints) {
    ReadyAs("ada", "lovelace", "true");
    StartChallenge();
    const QString firstGame = Game().GameId();
    Boxes().AnswerNextConfirmations({true});
    StartChallenge();
    EXPECT_EQ(Forfeits(), 0u);
    EXPECT_TRUE(Game().IsRunning());
    EXPECT_NE(Game().GameId(), firstGame);
    Boxes().AnswerNextConfirmations({true});
    Window().Puzzle1Click();  // gives the second game up
    EXPECT_TRUE(MenuItem("ShowHint1").isChecked());
}

TEST_F(OnlineGame, ANewerVersionStopsTheChallengeWhateverTheAnswer) {
    server_.SetVersion("99.0.0", "https://quillmark.example/download/99");
    ReadyAs("ada", "lovelace");
    StartChallenge();  // answered No
    Boxes().AnswerNextConfirmations({true});
    StartChallenge();
    EXPECT_EQ(Boxes().Texts(),
              QStringList({"A new version is available for update. Do you want download it now?",
                           "A new version is available for update. Do you want download it now?"}));
    EXPECT_EQ(Opened(), QStringList({"https://quillmark.example/download/99"}));
    EXPECT_TRUE(Engine().CallsTo("IniziaGiocoLadder").empty());
    EXPECT_FALSE(Game().IsRunning());
}

}  // namespace
