// The settings file, config.ini beside the executable: read once at start-up, and each of
// the player's choices written back the moment it changes.

#include <QFile>
#include <exception>

#include "app/atomic_file.h"
#include "app/main_window.h"
#include "app/settings_text.h"
#include "appearance/skin_colors_file.h"

namespace {

const QString kSection = QStringLiteral("param");

bool IsOneOf(const QString& value, std::initializer_list<const char*> accepted) {
    for (const char* one : accepted) {
        if (value == QLatin1String(one)) {
            return true;
        }
    }
    return false;
}

// Puts a setting's line right, keeping every other line; where the file cannot be read or
// written nothing happens, as with the default settings.
void RepairSetting(const QString& path, const QString& key, const QString& value) {
    try {
        QByteArray text = QFile::exists(path) ? app::ReadWholeFile(path) : QByteArray();
        app::WriteFileAtomically(path, app::WithSetting(text, key, value));
    } catch (const std::exception&) {
    }
}

}  // namespace

void TFsudoku_main::WriteDefaultSettings() {
    try {
        app::WriteFileAtomically(ConfigPath, app::DefaultSettingsText());
    } catch (const std::exception&) {
        // An unwritable directory leaves the file missing; reading then gives the defaults.
    }
}

void TFsudoku_main::ReadSettings() {
    SkinName = SettingsFile->Read(kSection, QStringLiteral("skin"), QStringLiteral("NO"));
    if (SkinName.isEmpty() || SkinName == QLatin1String("NO")) {
        SkinName = QStringLiteral("default");
        RepairSetting(ConfigPath, QStringLiteral("skin"), SkinName);
    }
    SkinDir = appearance::SkinFolder(ProgramDir, SkinName);

    Level = SettingsFile->Read(kSection, QStringLiteral("level"), QStringLiteral("NO"));
    if (!IsOneOf(Level, {"Easy", "Medium", "Hard"})) {
        Level = QStringLiteral("Easy");
        RepairSetting(ConfigPath, QStringLiteral("level"), Level);
    }

    HintSetting = SettingsFile->Read(kSection, QStringLiteral("hint"), QStringLiteral("NO"));
    if (!IsOneOf(HintSetting, {"true", "false"})) {
        HintSetting = QStringLiteral("false");
        RepairSetting(ConfigPath, QStringLiteral("hint"), HintSetting);
    }

    AccountUser = SettingsFile->Read(kSection, QStringLiteral("user"), QStringLiteral("error"));
    AccountPassword = SettingsFile->Read(kSection, QStringLiteral("pwd"), QStringLiteral("error"));
    AccountMail = SettingsFile->Read(kSection, QStringLiteral("mail"), QStringLiteral("error"));
}

void TFsudoku_main::SettingsUpdate(const QString& name, [[maybe_unused]] const QString& oldValue,
                                   const QString& newValue) {
    app::WriteFileAtomically(ConfigPath,
                             app::WithSetting(app::ReadWholeFile(ConfigPath), name, newValue));
}
