#include "engine/engine_errors.h"

#include "app/main_window.h"

namespace engine {

QString EngineErrorMessage(const QString& code, const QString& fileName) {
    if (code == QLatin1String("ERRORE_FORMATO_O_INSUFFICIENTI_VALORI")) {
        return QStringLiteral("You need to insert at least 15 values");
    }
    if (code == QLatin1String("ERRORE_FILE_NON_ESISTE")) {
        return QStringLiteral("The file doesn't exist!");
    }
    if (code == QLatin1String("ERRORE_APERTURA_FILE")) {
        return QStringLiteral("The file ") + fileName + QStringLiteral(" can't be open!");
    }
    if (code == QLatin1String("ERROR_NOT_ENABLED_ONLINE") ||
        code == QLatin1String("ERRORE_NON_LADDER")) {
        return QStringLiteral("User not enabled for online games!");
    }
    if (code == QLatin1String("ERRORE_NON_COMPLETATA")) {
        return QStringLiteral("Incorrect solution!");
    }
    return QStringLiteral("Unexpected Error Occured!");
}

}  // namespace engine

void TFsudoku_main::ShowEngineError(const QString& code, const QString& fileName) {
    LastMessageText = engine::EngineErrorMessage(code, fileName);
    Dialogs().ShowMessage(app::BoxKind::Error, LastMessageText);
}
