#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "help/about_box.h"
#include "help/product_info.h"
#include "tests/support/window_fixture.h"
#include "toolkit/picture_button.h"

namespace {

using testing_support::ShownBox;

class HelpCommands : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ShowReady();
    }
    void VersionCheckAnswers(const char* answer) {
        Engine().SetOverride(
            [answer](const std::string& member,
                     std::span<engine::Variant>) -> std::optional<engine::Variant> {
                if (member == "VerificaVersione") {
                    return engine::Variant(std::string(answer));
                }
                return std::nullopt;
            });
    }
};

TEST_F(HelpCommands, AnUpToDateProgramSaysSoOnceAndOpensNothing) {
    VersionCheckAnswers("");
    MenuItem("Checkforupdates1").trigger();
    EXPECT_EQ(Boxes().shown, (std::vector<ShownBox>{{ShownBox::Kind::Information,
                                                     "No new version is available for update."}}));
    EXPECT_TRUE(Opened().isEmpty());
}

TEST_F(HelpCommands, ANewerVersionIsOpenedOnlyWhenThePlayerSaysYes) {
    VersionCheckAnswers("https://quillmark.example/download/2.0");
    Window().Checkforupdates1Click();  // answered No
    EXPECT_EQ(Boxes().Texts(),
              QStringList({"A new version is available for update. Do you want download it now?"}));
    EXPECT_TRUE(Opened().isEmpty());

    Boxes().AnswerNextConfirmations({true});
    Window().Checkforupdates1Click();
    EXPECT_EQ(Opened(), QStringList({"https://quillmark.example/download/2.0"}));
}

TEST_F(HelpCommands, TheLinksOpenTheSiteAndTheForum) {
    MenuItem("QuillmarkSite1").trigger();
    MenuItem("QuillmarkForum1").trigger();
    EXPECT_EQ(Opened(), QStringList({help::kSiteAddress, help::kForumAddress}));
}

TEST_F(HelpCommands, EachAboutBoxIsNewAndShowsTheEnginesVersion) {
    std::vector<QString> versions;
    std::vector<QObject*> boxes;
    auto inspectAndClose = [&] {
        auto* about = qobject_cast<help::TFabout*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        versions.push_back(about->lblVersion->text());
        boxes.push_back(about);
        EXPECT_EQ(about->size(), QSize(410, 238));
        EXPECT_TRUE(about->windowFlags() & Qt::FramelessWindowHint);
        about->contactLink->setFocus();
        about->BBclose->click();
    };
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(0, inspectAndClose);
        MenuItem("About1").trigger();
    }
    ASSERT_EQ(versions.size(), 2u);
    // The same version text as status panel 5 after "Version ".
    EXPECT_EQ(versions[0], QStringLiteral("Version: ") + Panel(app::StatusPanel::Version).mid(8));
    EXPECT_EQ(versions[0], QStringLiteral("Version: " QUILLMARK_VERSION));
    EXPECT_EQ(Window().findChildren<help::TFabout*>().size(), 0);
}

TEST_F(HelpCommands, AFailingVersionLeavesTheDesignedTextAndIsReported) {
    Engine().SetOverride([](const std::string& member,
                            std::span<engine::Variant>) -> std::optional<engine::Variant> {
        if (member == "Versione") {
            throw engine::DispatchError("engine failure");
        }
        return std::nullopt;
    });
    QString shown;
    QTimer::singleShot(0, [&] {
        auto* about = qobject_cast<help::TFabout*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        shown = about->lblVersion->text();
        about->reject();
    });
    Window().About1Click();
    EXPECT_EQ(shown, QStringLiteral("Version: 1.00"));
    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_EQ(Boxes().shown[0], (ShownBox{ShownBox::Kind::Critical, "engine failure"}));
}

}  // namespace
