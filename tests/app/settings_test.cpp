#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <string_view>

#include <sys/stat.h>

#include <stdexcept>

#include "app/settings.h"
#include "app/settings_text.h"
#include "tests/support/window_fixture.h"
#include "toolkit/ini_file.h"

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

TEST(WithSetting, JoinsWithTheFilesOwnLineEndDroppingLeadingEmptyLinesAndTheFinalBreak) {
    EXPECT_EQ(WithSetting("\r\n\n[param]\nhint=false\n\nuser=a\n", "hint", "true"),
              "[param]\r\nhint=true\r\n\r\nuser=a");
    EXPECT_EQ(WithSetting("\n\r\n[param]\nhint=false\n\nuser=a\n", "hint", "true"),
              "[param]\nhint=true\n\nuser=a");
}

TEST(WithSetting, AddsAMissingLineToTheSectionOrAMissingSection) {
    EXPECT_EQ(WithSetting("[param]\r\nskin=x\r\n\r\n[other]\r\nlevel=1", "level", "Easy"),
              "[param]\r\nskin=x\r\nlevel=Easy\r\n\r\n[other]\r\nlevel=1");
    EXPECT_EQ(WithSetting("user=a", "skin", "default"), "user=a\r\n[param]\r\nskin=default");
}

using toolkit::FindIniValue;

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

// The settings on their own, in a program folder without a window.
class SettingsFile : public testing_support::WindowTest {
protected:
    Settings Loaded() {
        Settings settings(ConfigPath());
        settings.Load();
        return settings;
    }
};

TEST_F(SettingsFile, AFirstStartWritesTheDefaultFileAndReadsIt) {
    const Settings settings = Loaded();
    EXPECT_EQ(ConfigText(), DefaultSettingsText());
    EXPECT_EQ(ConfigText(),
              "[param]\r\nskin=default\r\nlevel=Easy\r\nhint=false\r\nuser=\r\npwd=\r\nmail=");
    EXPECT_EQ(settings.SkinName(), QStringLiteral("default"));
    EXPECT_EQ(settings.Level(), QStringLiteral("Easy"));
    EXPECT_FALSE(settings.Hint());
    EXPECT_EQ(settings.Account().user, QString());
}

TEST_F(SettingsFile, AcceptedValuesAreReadAndTheFileIsLeftAlone) {
    WriteConfig(kPlayerFile);
    const Settings settings = Loaded();
    EXPECT_EQ(settings.SkinName(), QStringLiteral("blue"));
    EXPECT_EQ(settings.Level(), QStringLiteral("Medium"));
    EXPECT_TRUE(settings.Hint());
    EXPECT_EQ(settings.Account().user, QStringLiteral("Easy Rider"));
    EXPECT_EQ(settings.Account().password, QStringLiteral("s3cret"));
    EXPECT_EQ(settings.Account().mail, QStringLiteral("rider@example.org"));
    EXPECT_EQ(ConfigText(), kPlayerFile);
}

TEST_F(SettingsFile, ABadValueTakesItsDefaultInItsOwnLineAndTheAccountIsKept) {
    const std::tuple<QByteArray, QByteArray, const char*> cases[] = {
        {"level=Medium", "level=easy", "level=Easy"},
        {"hint=true", "hint=yes", "hint=false"},
        {"skin=blue", "skin=NO", "skin=default"},
        {"skin=blue", "skin=", "skin=default"},
    };
    for (const auto& [good, bad, repaired] : cases) {
        WriteConfig(QByteArray(kPlayerFile).replace(good, bad));
        const Settings settings = Loaded();
        EXPECT_EQ(ConfigText(), QByteArray(kPlayerFile).replace(good, repaired)) << bad.data();
        // Keys read after the repaired one keep their own values.
        EXPECT_EQ(settings.Account().user, QStringLiteral("Easy Rider")) << bad.data();
        EXPECT_EQ(settings.Hint(), !bad.startsWith("hint")) << bad.data();
    }
}

TEST_F(SettingsFile, AMissingAccountLineReadsAsErrorWithoutARewrite) {
    const QByteArray noUser = QByteArray(kPlayerFile).replace("user=Easy Rider\r\n", "");
    WriteConfig(noUser);
    EXPECT_EQ(Loaded().Account().user, QStringLiteral("error"));
    EXPECT_EQ(ConfigText(), noUser);
}

TEST_F(SettingsFile, AnyEditorsTextReadsTheSameAndARewriteKeepsItsEncodingAndLineEnds) {
    auto utf16 = [](const QByteArray& text) {
        const QString decoded = QString::fromUtf8(text);
        return QByteArray("\xFF\xFE") +
               QByteArray(reinterpret_cast<const char*>(decoded.utf16()), decoded.size() * 2);
    };
    const QByteArray hard = QByteArray(kPlayerFile).replace("Medium", "Hard");
    const std::tuple<const char*, QByteArray, QByteArray> forms[] = {
        {"UTF-8 mark", "\xEF\xBB\xBF" + kPlayerFile, "\xEF\xBB\xBF" + hard},
        {"LF", QByteArray(kPlayerFile).replace("\r\n", "\n"),
         QByteArray(hard).replace("\r\n", "\n")},
        {"CR", QByteArray(kPlayerFile).replace("\r\n", "\r"),
         QByteArray(hard).replace("\r\n", "\r")},
        {"UTF-16 mark", utf16(kPlayerFile), utf16(hard)},
    };
    for (const auto& [form, text, rewritten] : forms) {
        WriteConfig(text);
        Settings settings = Loaded();
        EXPECT_EQ(settings.SkinName(), QStringLiteral("blue")) << form;
        EXPECT_EQ(settings.Level(), QStringLiteral("Medium")) << form;
        EXPECT_TRUE(settings.Hint()) << form;
        EXPECT_EQ(settings.Account().mail, QStringLiteral("rider@example.org")) << form;
        EXPECT_EQ(ConfigText(), text) << form;  // nothing was repaired
        settings.SetLevel(QStringLiteral("Hard"));
        EXPECT_EQ(ConfigText(), rewritten) << form;
    }
}

TEST_F(SettingsFile, AnythingButAFileReadsAsMissingWithoutBlockingAndKeepsItsPlace) {
    for (const char* kind : {"folder", "fifo", "device"}) {
        QFile::remove(ConfigPath());
        QDir(ConfigPath()).removeRecursively();
        if (std::string_view(kind) == "folder") {
            ASSERT_TRUE(QDir().mkdir(ConfigPath()));
        } else if (std::string_view(kind) == "fifo") {
            ASSERT_EQ(mkfifo(QFile::encodeName(ConfigPath()).constData(), 0600), 0);
        } else {
            ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), ConfigPath()));
        }
        const Settings settings = Loaded();
        EXPECT_EQ(settings.Level(), QStringLiteral("Easy")) << kind;
        EXPECT_EQ(settings.Account().user, QStringLiteral("error")) << kind;
        EXPECT_FALSE(QFileInfo(ConfigPath()).isFile()) << kind;  // nothing replaced it
    }
    QFile::remove(ConfigPath());
}

TEST_F(SettingsFile, AChoiceRewritesOnlyItsLineAndAFailedOneKeepsTheOldValue) {
    WriteConfig(QByteArray(kPlayerFile).replace("level=Medium", "level=Easy"));
    Settings settings = Loaded();
    settings.SetLevel(QStringLiteral("Hard"));
    EXPECT_EQ(ConfigText(), QByteArray(kPlayerFile).replace("level=Medium", "level=Hard"));
    EXPECT_EQ(settings.Level(), QStringLiteral("Hard"));

    ASSERT_TRUE(QFile::remove(ConfigPath()));
    ASSERT_TRUE(
        QDir().mkdir(ConfigPath()));  // a folder in its place: neither readable nor writable
    EXPECT_THROW(settings.SetHint(false), std::runtime_error);
    EXPECT_TRUE(settings.Hint());
}

TEST_F(SettingsFile, AChoiceKeepsTheFilesPermissionsAndWritesThroughALinkToIt) {
    const QString kept = ProgramDir() + QStringLiteral("kept/config.ini");
    ASSERT_TRUE(QDir().mkpath(ProgramDir() + QStringLiteral("kept")));
    QFile file(kept);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kPlayerFile);
    file.close();
    ASSERT_EQ(chmod(QFile::encodeName(kept).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("kept/config.ini"), ConfigPath()));

    Loaded().SetLevel(QStringLiteral("Hard"));
    EXPECT_TRUE(QFileInfo(ConfigPath()).isSymLink());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(kPlayerFile).replace("level=Medium", "level=Hard"));
    struct stat mode {};
    ASSERT_EQ(stat(QFile::encodeName(kept).constData(), &mode), 0);
    EXPECT_EQ(mode.st_mode & 07777, 0600u);
}

using SettingsInTheWindow = testing_support::WindowTest;

TEST_F(SettingsInTheWindow, AFileThatCannotBeRewrittenIsReportedAndTheLevelStays) {
    ShowReady();
    ASSERT_TRUE(QFile::remove(ConfigPath()));
    ASSERT_TRUE(QDir().mkdir(ConfigPath()));
    MenuItem("Hard1").trigger();
    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_EQ(Boxes().shown[0].kind, testing_support::ShownBox::Kind::Critical);
    EXPECT_TRUE(Boxes().shown[0].text.contains(QStringLiteral("config.ini")));
    EXPECT_TRUE(MenuItem("Easy1").isChecked());
    EXPECT_FALSE(MenuItem("Hard1").isChecked());
    EXPECT_EQ(Panel(StatusPanel::Level), QStringLiteral("Level: Easy"));
}

}  // namespace
}  // namespace app
