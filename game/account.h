#pragma once

#include <QString>

namespace game {

// The player's online account, as the settings hold it. The mail address is kept for the
// account; no operation uses it.
struct Account {
    QString user;
    QString password;
    QString mail;
};

}  // namespace game
