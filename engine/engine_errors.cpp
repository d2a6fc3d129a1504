#include "engine/engine_errors.h"

#include "toolkit/sentences.h"

namespace engine {

namespace {

struct Row {
    QLatin1String code;
    QLatin1String message;
};

// The engine's own codes for the game server, which pass no file name.
constexpr Row kServerRows[] = {
    {QLatin1String("ERRORE_SERVER_NON_RAGGIUNGIBILE"), sentences::kServerUnreachable},
    {QLatin1String("ERRORE_SERVER_OCCUPATO"), sentences::kServerBusy},
    {QLatin1String("ERRORE_RISPOSTA_SERVER"), sentences::kBadServerAnswer},
    {QLatin1String("ERRORE_CERTIFICATO_SERVER_NON_VALIDO"), sentences::kUntrustedServer},
    {QLatin1String("ERRORE_INDIRIZZO_SERVER_NON_VALIDO"), sentences::kBadServerAddress},
    {QLatin1String("ERRORE_TESTO_NON_UTF8"), sentences::kTextNotUtf8},
};

}  // namespace

QString EngineErrorMessage(const QString& code, const QString& fileName) {
    if (code == QLatin1String("ERRORE_FORMATO_O_INSUFFICIENTI_VALORI")) {
        return sentences::kTooFewValues;
    }
    if (code == QLatin1String("ERRORE_FILE_NON_ESISTE")) {
        return sentences::kFileMissing;
    }
    if (code == QLatin1String("ERRORE_APERTURA_FILE")) {
        return QString(sentences::kFileCannotOpen).arg(fileName);
    }
    if (code == QLatin1String("ERROR_NOT_ENABLED_ONLINE") ||
        code == QLatin1String("ERRORE_NON_LADDER")) {
        return sentences::kNotEnabledOnline;
    }
    if (code == QLatin1String("ERRORE_NON_COMPLETATA")) {
        return sentences::kIncorrectSolution;
    }
    for (const Row& row : kServerRows) {
        if (code == row.code) {
            return row.message;
        }
    }
    return sentences::kUnexpectedError;
}

}  // namespace engine
