#include <gtest/gtest.h>

#include <QLayout>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "app/status_bar.h"
#include "board/board_grid.h"
#include "tests/support/window_fixture.h"

namespace {

using app::StatusPanel;
using testing_support::ShownBox;
using testing_support::WaitFor;
using testing_support::WindowTest;

const QString kVersionText = QStringLiteral("Version " QUILLMARK_VERSION);

class Startup : public WindowTest {
protected:
    // Whether the menu, minimise and close buttons and the tool bar all take clicks: 1 all,
    // 0 none, -1 some do and some do not.
    int ChromeEnabled() {
        const bool states[] = {
            Find<QWidget>("BBmenu").isEnabled(), Find<QWidget>("BBminimize").isEnabled(),
            Find<QWidget>("BBclose").isEnabled(), Find<QWidget>("ToolBar").isEnabled()};
        const int on = static_cast<int>(std::count(std::begin(states), std::end(states), true));
        return on == 4 ? 1 : on == 0 ? 0 : -1;
    }
};

TEST_F(Startup, TheWindowIsComposedAsDesignedWithItsChromeDisabled) {
    TFsudoku_main& window = MakeWindow();
    EXPECT_EQ(ChromeEnabled(), 0);
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window.size(), QSize(662, 478));
    const std::pair<const char*, QRect> places[] = {
        {"cntHeader", {0, 0, 662, 30}},          {"BBmenu", {9, 7, 17, 17}},
        {"BBminimize", {618, 7, 17, 17}},        {"BBclose", {636, 7, 17, 17}},
        {"panel_move_header", {28, 0, 590, 30}}, {"ToolBar", {0, 36, 662, 22}},
        {"StringGrid", {145, 71, 370, 370}},     {"StatusBar", {0, 459, 662, 19}},
        {"Splash_Panel", {238, 218, 185, 41}},
    };
    for (const auto& [name, place] : places) {
        EXPECT_EQ(Find<QWidget>(name).geometry(), place) << name;
    }
    EXPECT_EQ(Splash().text(), QStringLiteral("Initialising, please wait..."));
    EXPECT_TRUE(Splash().font().bold());

    const int widths[] = {86, 65, 80, 175, 165};
    const char* texts[] = {"Level: Medium", "Miss.n.: 81", "00 : 00 : 00", "",
                           "Hint: none",    "Version ..."};
    for (int i = 0; i < 6; ++i) {
        QLabel& panel = Find<QLabel>(QStringLiteral("StatusPanel%1").arg(i));
        if (i < 5) {
            EXPECT_EQ(panel.width(), widths[i]) << i;
        }
        EXPECT_EQ(panel.text(), QString::fromLatin1(texts[i])) << i;
        EXPECT_EQ(panel.alignment(), Qt::AlignCenter) << i;
        EXPECT_EQ(panel.font().bold(), i == 3) << i;
    }
    // The version panel is at least its 40 pixels and ends at the bar's right edge.
    QWidget& statusBar = Find<QWidget>("StatusBar");
    statusBar.layout()->activate();
    EXPECT_GE(Find<QLabel>("StatusPanel5").width(), 40);
    EXPECT_EQ(Find<QLabel>("StatusPanel5").geometry().right(), statusBar.width() - 1);

    EXPECT_TRUE(Find<QTimer>("Timer1").isActive());
    EXPECT_EQ(Find<QTimer>("Timer1").interval(), 2000);
}

TEST_F(Startup, TheSequenceRunsAtFirstShowingAndTheEngineTwoSecondsAfterCreation) {
    TFsudoku_main& window = ShowConfigured();
    // Configured comes before Ready: the chrome, the splash and the version wait for the
    // engine.
    EXPECT_FALSE(window.IsReady());
    EXPECT_EQ(ChromeEnabled(), 0);
    EXPECT_TRUE(Splash().isVisible());
    EXPECT_EQ(Panel(StatusPanel::Version), QStringLiteral("Version ..."));
    EXPECT_TRUE(Find<QWidget>("StatusBar").hasFocus());
    EXPECT_FALSE(Board().currentIndex().isValid());
    EXPECT_FALSE(StopwatchRunning());

    ASSERT_TRUE(WaitFor([&] { return window.IsReady(); }, 4000));
    EXPECT_EQ(ChromeEnabled(), 1);
    EXPECT_FALSE(Splash().isVisible());
    EXPECT_FALSE(Find<QTimer>("Timer1").isActive());
    EXPECT_EQ(Panel(StatusPanel::Version), kVersionText);
    EXPECT_EQ(Panel(StatusPanel::User), QString());
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
    EXPECT_EQ(ChromeEnabled(), 0);
    EXPECT_TRUE(Splash().isVisible());
    EXPECT_FALSE(Find<QTimer>("Timer1").isActive());
    EXPECT_EQ(Panel(StatusPanel::Version), QStringLiteral("Version ..."));
    // The program goes on, and its close button stays dead.
    QTest::mouseClick(&Find<QWidget>("BBclose"), Qt::LeftButton);
    EXPECT_TRUE(window.isVisible());
}

TEST_F(Startup, ClosingReleasesTheClassObjectAndMakesNoEngineCall) {
    TFsudoku_main& window = ShowReady();
    Engine().ClearCalls();
    ASSERT_TRUE(Engine().ClassObjectAlive());
    QTest::mouseClick(&Find<QWidget>("BBclose"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(Engine().ClassObjectAlive());
    EXPECT_TRUE(Engine().Calls().empty());
}

}  // namespace
