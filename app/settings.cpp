#include "app/settings.h"

#include <QFile>
#include <exception>

#include "app/settings_text.h"
#include "toolkit/atomic_file.h"

namespace app {

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
        QByteArray text = QFile::exists(path) ? toolkit::ReadWholeFile(path) : QByteArray();
        toolkit::WriteFileAtomically(path, WithSetting(text, key, value));
    } catch (const std::exception&) {
    }
}

QString HintText(bool on) {
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

}  // namespace

Settings::Settings(QString configPath) : configPath_(std::move(configPath)), file_(configPath_) {}

void Settings::Load() {
    if (!QFile::exists(configPath_)) {
        WriteDefaultSettings();
    }
    ReadSettings();
}

void Settings::WriteDefaultSettings() {
    try {
        toolkit::WriteFileAtomically(configPath_, DefaultSettingsText());
    } catch (const std::exception&) {
        // An unwritable directory leaves the file missing; reading then gives the defaults.
    }
}

void Settings::ReadSettings() {
    skinName_ = file_.Read(kSection, QStringLiteral("skin"), QStringLiteral("NO"));
    if (skinName_.isEmpty() || skinName_ == QLatin1String("NO")) {
        skinName_ = QStringLiteral("default");
        RepairSetting(configPath_, QStringLiteral("skin"), skinName_);
    }

    level_ = file_.Read(kSection, QStringLiteral("level"), QStringLiteral("NO"));
    if (!IsOneOf(level_, {"Easy", "Medium", "Hard"})) {
        level_ = QStringLiteral("Easy");
        RepairSetting(configPath_, QStringLiteral("level"), level_);
    }

    const QString hint = file_.Read(kSection, QStringLiteral("hint"), QStringLiteral("NO"));
    hint_ = hint == QLatin1String("true");
    if (!IsOneOf(hint, {"true", "false"})) {
        RepairSetting(configPath_, QStringLiteral("hint"), HintText(hint_));
    }

    account_.user = file_.Read(kSection, QStringLiteral("user"), QStringLiteral("error"));
    account_.password = file_.Read(kSection, QStringLiteral("pwd"), QStringLiteral("error"));
    account_.mail = file_.Read(kSection, QStringLiteral("mail"), QStringLiteral("error"));
}

void Settings::SetLevel(const QString& level) {
    SettingsUpdate(QStringLiteral("level"), level);
    level_ = level;
}

void Settings::SetHint(bool on) {
    SettingsUpdate(QStringLiteral("hint"), HintText(on));
    hint_ = on;
}

void Settings::SetSkin(const QString& name) {
    SettingsUpdate(QStringLiteral("skin"), name);
    skinName_ = name;
}

void Settings::SettingsUpdate(const QString& name, const QString& newValue) {
    toolkit::WriteFileAtomically(configPath_,
                                 WithSetting(toolkit::ReadWholeFile(configPath_), name, newValue));
}

}  // namespace app
