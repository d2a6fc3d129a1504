#include "engine/engine_errors.h"

#include "toolkit/sentences.h"

namespace engine {

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
    return sentences::kUnexpectedError;
}

}  // namespace engine
