#pragma once

#include <QString>

#include "game/account.h"
#include "toolkit/ini_file.h"

namespace app {

// The settings file config.ini, section [param]: read once at start-up, and each of the
// player's choices (level, hint, skin) written back the moment it is made. Nothing is written
// on exit.
class Settings {
public:
    explicit Settings(QString configPath);

    const QString& ConfigPath() const { return configPath_; }

    // Writes the default file when there is none, then reads every setting. A skin, level or
    // hint that is missing or not accepted takes its default, in memory and in its own line of
    // the file, and every other line stays as it is; a missing account value reads "error".
    // A file that cannot be written is left as it is and the defaults are used.
    void Load();

    const QString& SkinName() const { return skinName_; }
    // "Easy", "Medium" or "Hard".
    const QString& Level() const { return level_; }
    bool Hint() const { return hint_; }
    const game::Account& Account() const { return account_; }

    // Each stores a choice: the setting's line in config.ini takes the new value, rewritten
    // through a temporary file, and only then the value in memory. Raises std::runtime_error
    // naming the file when it cannot be read or written; the value in memory then stays.
    void SetLevel(const QString& level);
    void SetHint(bool on);
    void SetSkin(const QString& name);

private:
    void WriteDefaultSettings();
    void ReadSettings();
    // The file's value is replaced whatever it holds, so a file edited meanwhile still takes
    // the choice.
    void SettingsUpdate(const QString& name, const QString& newValue);

    QString configPath_;
    toolkit::IniFile file_;
    QString skinName_;
    QString level_;
    bool hint_ = false;
    game::Account account_;
};

}  // namespace app
