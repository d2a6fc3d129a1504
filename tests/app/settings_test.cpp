#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/ini_file.h"
#include "app/popup_menu.h"
#include "app/settings_text.h"
#include "app/status_bar.h"
#include "tests/support/window_fixture.h"

namespace app {
namespace {

const QByteArray kPlayerFile =
    "[param]\r\nskin=blue\r\nlevel=Medium\r\nhint=true\r\nuser=Easy Rider\r\npwd=s3cret\r\n"
    "mail=rider@example.org";

TEST(WithSetting, ChangesOnlyTheValueOfItsLine) {
    EXPECT_EQ(WithSetting(kPlayerFile, "level", "Hard"),
              QByteArray(kPlayerFile).replace("level=Medium", "level=Hard"));
    // Names match without regard to case; blanks around the value stay.
    EXPECT_EQ(WithSetting("[Param]\r\nLevel = Easy \r\nx=1", "level", "Hard"),
              "[Param]\r\nLevel = Hard \r\nx=1");
}

TEST(WithSetting, JoinsWithCrLfDroppingLeadingEmptyLinesAndTheFinalBreak) {
    EXPECT_EQ(WithSetting("\n\r\n[param]\nhint=false\n\nuser=a\n", "hint", "true"),
              "[param]\r\nhint=true\r\n\r\nuser=a");
}

TEST(WithSetting, AddsAMissingLineToTheSectionOrAMissingSection) {
    EXPECT_EQ(WithSetting("[param]\r\nskin=x\r\n\r\n[other]\r\nlevel=1", "level", "Easy"),
              "[param]\r\nskin=x\r\nlevel=Easy\r\n\r\n[other]\r\nlevel=1");
    EXPECT_EQ(WithSetting("user=a", "skin", "default"), "user=a\r\n[param]\r\nskin=default");
}

TEST(FindIniValue, MatchesNamesWithoutCaseAndTheFirstLineWins) {
    const QByteArray content =
        "[colors]\r\ngrid1=#111111\r\n[ Param ]\r\n  SKIN =  blue sky  \r\nskin=second\r\n"
        "empty=\r\n";
    EXPECT_EQ(FindIniValue(content, "param", "skin"), QStringLiteral("blue sky"));
    EXPECT_EQ(FindIniValue(content, "param", "empty"), QString());
    EXPECT_EQ(FindIniValue(content, "param", "grid1"), std::nullopt);
    EXPECT_EQ(FindIniValue(content, "nosection", "skin"), std::nullopt);
    EXPECT_EQ(FindIniValue("[p]\nk=" + QByteArray(3000, 'v'), "p", "k")->size(), 2047);
    EXPECT_EQ(FindIniValue("[p]\nk=J\xc3\xb6rg", "p", "k"), QStringLiteral(u"J\u00f6rg"));
    EXPECT_EQ(FindIniValue("[p]\nk=J\xf6rg", "p", "k"), QStringLiteral(u"J\u00f6rg"));
}

class Settings : public testing_support::WindowTest {
protected:
    QString Config() { return ProgramDir() + "config.ini"; }
    void WriteConfig(const QByteArray& text) {
        QFile file(Config());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray ConfigText() {
        QFile file(Config());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};

TEST_F(Settings, AFirstStartWritesTheDefaultFileAndReadsIt) {
    TFsudoku_main& window = ShowConfigured();
    EXPECT_EQ(ConfigText(), DefaultSettingsText());
    EXPECT_EQ(ConfigText(),
              "[param]\r\nskin=default\r\nlevel=Easy\r\nhint=false\r\nuser=\r\npwd=\r\nmail=");
    EXPECT_EQ(window.SkinName, QStringLiteral("default"));
    EXPECT_EQ(window.SkinDir, ProgramDir() + "skin/default/");
    EXPECT_EQ(window.Level, QStringLiteral("Easy"));
    EXPECT_EQ(window.HintSetting, QStringLiteral("false"));
    EXPECT_EQ(window.AccountUser, QString());
}

TEST_F(Settings, AcceptedValuesAreReadAndTheFileIsLeftAlone) {
    WriteConfig(kPlayerFile);
    TFsudoku_main& window = ShowConfigured();
    EXPECT_EQ(window.SkinName, QStringLiteral("blue"));
    EXPECT_EQ(window.Level, QStringLiteral("Medium"));
    EXPECT_EQ(window.HintSetting, QStringLiteral("true"));
    EXPECT_EQ(window.AccountUser, QStringLiteral("Easy Rider"));
    EXPECT_EQ(window.AccountPassword, QStringLiteral("s3cret"));
    EXPECT_EQ(window.AccountMail, QStringLiteral("rider@example.org"));
    EXPECT_EQ(ConfigText(), kPlayerFile);
}

TEST_F(Settings, ABadValueTakesItsDefaultInItsOwnLineAndTheAccountIsKept) {
    const std::tuple<QByteArray, QByteArray, const char*> cases[] = {
        {"level=Medium", "level=easy", "level=Easy"},
        {"hint=true", "hint=yes", "hint=false"},
        {"skin=blue", "skin=NO", "skin=default"},
        {"skin=blue", "skin=", "skin=default"},
    };
    for (const auto& [good, bad, repaired] : cases) {
        WriteConfig(QByteArray(kPlayerFile).replace(good, bad));
        TFsudoku_main& window = MakeWindow();
        ShowConfigured();
        EXPECT_EQ(ConfigText(), QByteArray(kPlayerFile).replace(good, repaired)) << bad.data();
        // Keys read after the repaired one keep their own values.
        EXPECT_EQ(window.AccountUser, QStringLiteral("Easy Rider")) << bad.data();
        EXPECT_EQ(window.HintSetting, bad.startsWith("hint") ? "false" : "true") << bad.data();
    }
}

TEST_F(Settings, AMissingAccountLineReadsAsErrorWithoutARewrite) {
    const QByteArray noUser = QByteArray(kPlayerFile).replace("user=Easy Rider\r\n", "");
    WriteConfig(noUser);
    TFsudoku_main& window = ShowConfigured();
    EXPECT_EQ(window.AccountUser, QStringLiteral("error"));
    EXPECT_EQ(ConfigText(), noUser);
}

TEST_F(Settings, ChoosingALevelRewritesOnlyItsLine) {
    WriteConfig(QByteArray(kPlayerFile).replace("level=Medium", "level=Easy"));
    TFsudoku_main& window = ShowReady();
    window.Menu->Item(QStringLiteral("Hard1"))->trigger();
    EXPECT_EQ(ConfigText(), QByteArray(kPlayerFile).replace("level=Medium", "level=Hard"));
    EXPECT_EQ(window.Level, QStringLiteral("Hard"));
    EXPECT_EQ(window.StatusBar->PanelText(0), QStringLiteral("Level: Hard"));
}

TEST_F(Settings, AFileThatCannotBeRewrittenIsReportedAndNothingChanges) {
    TFsudoku_main& window = ShowReady();
    ASSERT_TRUE(QFile::remove(Config()));
    ASSERT_TRUE(QDir().mkdir(Config()));  // a folder in its place: neither readable nor writable
    window.Menu->Item(QStringLiteral("Hard1"))->trigger();
    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_EQ(Boxes().shown[0].kind, testing_support::ShownBox::Kind::Critical);
    EXPECT_TRUE(Boxes().shown[0].text.contains(QStringLiteral("config.ini")));
    EXPECT_EQ(window.Level, QStringLiteral("Easy"));
    EXPECT_TRUE(window.Menu->Item(QStringLiteral("Easy1"))->isChecked());
    EXPECT_FALSE(window.Menu->Item(QStringLiteral("Hard1"))->isChecked());
    EXPECT_EQ(window.StatusBar->PanelText(0), QStringLiteral("Level: Easy"));
}

}  // namespace
}  // namespace app
