#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLayout>
#include <QTest>

#include "app/header_bar.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "board/board_grid.h"
#include "tests/support/window_fixture.h"

namespace {

using testing_support::ShownBox;
using testing_support::WaitFor;
using testing_support::WindowTest;

const QString kVersionText = QStringLiteral("Version " QUILLMARK_VERSION);

bool ChromeEnabled(TFsudoku_main& window) {
    return window.cntHeader->BBmenu->isEnabled() && window.cntHeader->BBminimize->isEnabled() &&
           window.cntHeader->BBclose->isEnabled() && window.ToolBar->isEnabled();
}

bool ChromeDisabled(TFsudoku_main& window) {
    return !window.cntHeader->BBmenu->isEnabled() && !window.cntHeader->BBminimize->isEnabled() &&
           !window.cntHeader->BBclose->isEnabled() && !window.ToolBar->isEnabled();
}

using Startup = WindowTest;

TEST_F(Startup, CreationSetsPathsAndConstantsAndDisablesTheChrome) {
    TFsudoku_main& window = MakeWindow();
    EXPECT_EQ(window.ProgramDir, ProgramDir());
    EXPECT_EQ(window.ConfigPath, ProgramDir() + "config.ini");
    EXPECT_EQ(window.PrintPicturePath, ProgramDir() + "print.jpg");
    EXPECT_EQ(window.SelectedDigit, QStringLiteral("0"));
    EXPECT_FALSE(window.SquaresLocked);
    EXPECT_FALSE(window.GameMode);
    EXPECT_TRUE(window.PuzzleFileName.isEmpty());
    EXPECT_EQ(window.EmptyGridText, QStringLiteral("0 0 0 0 0 0 0 0 0 \r\n").repeated(9));
    EXPECT_EQ(window.EmptyGridText.size(), 180);
    EXPECT_TRUE(ChromeDisabled(window));
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window.size(), QSize(662, 478));
}

TEST_F(Startup, TheWindowIsComposedAsDesigned) {
    TFsudoku_main& window = MakeWindow();
    EXPECT_EQ(window.cntHeader->geometry(), QRect(0, 0, 662, 30));
    EXPECT_EQ(window.cntHeader->BBmenu->geometry(), QRect(9, 7, 17, 17));
    EXPECT_EQ(window.cntHeader->BBminimize->geometry(), QRect(618, 7, 17, 17));
    EXPECT_EQ(window.cntHeader->BBclose->geometry(), QRect(636, 7, 17, 17));
    EXPECT_EQ(window.cntHeader->panel_move_header->geometry(), QRect(28, 0, 590, 30));
    EXPECT_EQ(window.ToolBar->geometry(), QRect(0, 36, 662, 22));
    EXPECT_EQ(window.StringGrid->geometry(), QRect(145, 71, 370, 370));
    EXPECT_EQ(window.StatusBar->geometry(), QRect(0, 459, 662, 19));
    EXPECT_EQ(window.Splash_Panel->geometry(), QRect(238, 218, 185, 41));
    EXPECT_EQ(window.Splash_Panel->text(), QStringLiteral("Initialising, please wait..."));
    EXPECT_TRUE(window.Splash_Panel->font().bold());

    const int widths[] = {86, 65, 80, 175, 165};
    const char* texts[] = {"Level: Medium", "Miss.n.: 81", "00 : 00 : 00", "",
                           "Hint: none",    "Version ..."};
    for (int i = 0; i < 6; ++i) {
        if (i < 5) {
            EXPECT_EQ(window.StatusBar->Panel(i)->width(), widths[i]) << i;
        }
        EXPECT_EQ(window.StatusBar->PanelText(i), QString::fromLatin1(texts[i])) << i;
        EXPECT_EQ(window.StatusBar->Panel(i)->alignment(), Qt::AlignCenter) << i;
        EXPECT_EQ(window.StatusBar->Panel(i)->font().bold(), i == 3) << i;
    }
    // The version panel is at least its 40 pixels and ends at the bar's right edge.
    window.StatusBar->layout()->activate();
    EXPECT_GE(window.StatusBar->Panel(5)->width(), 40);
    EXPECT_EQ(window.StatusBar->Panel(5)->geometry().right(), window.StatusBar->width() - 1);

    EXPECT_TRUE(window.Timer1->isActive());
    EXPECT_EQ(window.Timer1->interval(), 2000);
    EXPECT_EQ(window.Cronometro->interval(), 10);
    EXPECT_EQ(window.Timer_salva_img->interval(), 2000);
    EXPECT_EQ(window.Timer_stampa->interval(), 1000);
    EXPECT_FALSE(window.Cronometro->isActive());
    EXPECT_FALSE(window.Timer_salva_img->isActive());
    EXPECT_FALSE(window.Timer_stampa->isActive());
}

TEST_F(Startup, TheSequenceRunsAtFirstShowingAndTheEngineTwoSecondsAfterCreation) {
    TFsudoku_main& window = ShowConfigured();
    // Configured comes before Ready: the chrome, the splash and the version wait for the
    // engine.
    EXPECT_FALSE(window.IsReady());
    EXPECT_TRUE(ChromeDisabled(window));
    EXPECT_TRUE(window.Splash_Panel->isVisible());
    EXPECT_EQ(window.StatusBar->PanelText(5), QStringLiteral("Version ..."));
    EXPECT_TRUE(window.StatusBar->hasFocus());
    EXPECT_FALSE(window.StringGrid->currentIndex().isValid());

    ASSERT_TRUE(WaitFor([&] { return window.IsReady(); }, 4000));
    EXPECT_TRUE(ChromeEnabled(window));
    EXPECT_FALSE(window.Splash_Panel->isVisible());
    EXPECT_FALSE(window.Timer1->isActive());
    EXPECT_EQ(window.StatusBar->PanelText(5), kVersionText);
    EXPECT_EQ(window.StatusBar->PanelText(3), QString());
    EXPECT_TRUE(Boxes().shown.empty());
}

TEST_F(Startup, TheEngineIsCreatedWithTheThreeStartTexts) {
    std::vector<engine::Variant> received;
    auto spy = [&received]() -> std::unique_ptr<engine::Dispatch> {
        struct Spy : engine::Dispatch {
            std::vector<engine::Variant>* received;
            std::unique_ptr<engine::Dispatch> real = testing_support::BuiltComponent()();
            engine::Variant Invoke(std::string_view member,
                                   std::span<engine::Variant> args) override {
                received->assign(args.begin(), args.end());
                return real->Invoke(member, args);
            }
        };
        auto spy = std::make_unique<Spy>();
        spy->received = &received;
        return spy;
    };
    MakeWindow(spy);
    ShowReady();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(std::get<std::string>(received[0]), "0");
    EXPECT_EQ(std::get<std::string>(received[1]), "2");
    EXPECT_EQ(std::get<std::string>(received[2]), "2000");
}

TEST_F(Startup, AMissingEngineComponentIsReportedAndLeavesTheWindowWaiting) {
    MakeWindow(engine::ComponentFactory(ProgramDir() + "quillmark_engine"));
    TFsudoku_main& window = ShowConfigured();
    window.Run(&TFsudoku_main::Timer1Timer);

    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_EQ(Boxes().shown[0].kind, ShownBox::Kind::Critical);
    EXPECT_TRUE(Boxes().shown[0].text.contains(QStringLiteral("quillmark_engine")))
        << Boxes().shown[0].text.toStdString();
    EXPECT_FALSE(window.IsReady());
    EXPECT_TRUE(ChromeDisabled(window));
    EXPECT_TRUE(window.Splash_Panel->isVisible());
    EXPECT_FALSE(window.Timer1->isActive());
    EXPECT_EQ(window.StatusBar->PanelText(5), QStringLiteral("Version ..."));
    // The program goes on.
    EXPECT_TRUE(window.isVisible());
}

TEST_F(Startup, ClosingReleasesTheClassObjectAndMakesNoEngineCall) {
    TFsudoku_main& window = ShowReady();
    Engine().ClearCalls();
    ASSERT_TRUE(window.Engine().HoldsClassObject());
    QTest::mouseClick(window.cntHeader->BBclose, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.Engine().HoldsClassObject());
    EXPECT_TRUE(Engine().Calls().empty());
}

TEST_F(Startup, TheCloseButtonIsDeadUntilTheEngineHasStarted) {
    TFsudoku_main& window = ShowConfigured();
    QTest::mouseClick(window.cntHeader->BBclose, Qt::LeftButton);
    EXPECT_TRUE(window.isVisible());
}

}  // namespace
