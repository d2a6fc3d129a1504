#pragma once

#include <QString>
#include <optional>

namespace game {

// An engine error code: upper case letters, digits and underscores with the prefix
// "ERRORE_" or "ERROR_". A game id or a number is none.
bool IsEngineErrorCode(const QString& result);

// A whole number of seconds written in plain decimal digits, or nothing for any other text.
std::optional<quint64> DecimalSeconds(const QString& result);

}  // namespace game
