#include "game/engine_result.h"

namespace game {

bool IsEngineErrorCode(const QString& result) {
    if (!result.startsWith(QLatin1String("ERRORE_")) &&
        !result.startsWith(QLatin1String("ERROR_"))) {
        return false;
    }
    for (QChar c : result) {
        if (!((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_')) {
            return false;
        }
    }
    return true;
}

std::optional<quint64> DecimalSeconds(const QString& result) {
    if (result.isEmpty() || result.size() > 12) {
        return std::nullopt;
    }
    for (QChar c : result) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
    }
    return result.toULongLong();
}

}  // namespace game
