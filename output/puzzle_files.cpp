// Saving the engine's puzzle to a text file and loading one back. The engine writes and
// reads the file; the window chooses the name, asks before throwing a board away and shows
// the engine's errors.

#include <QDir>
#include <QFile>

#include "app/main_window.h"
#include "output/save_path.h"

std::optional<QString> TFsudoku_main::ChooseSavePath(const QString& title, const QString& filter,
                                                     const QString& suffix) {
    const std::optional<QString> chosen =
        Dialogs().AskSaveFileName({title, filter, QDir::currentPath()});
    if (!chosen) {
        return std::nullopt;
    }
    const QString path = output::WithDefaultSuffix(*chosen, suffix);
    if (QFile::exists(path) && !Dialogs().Confirm(output::ReplaceQuestion(path))) {
        return std::nullopt;
    }
    return path;
}

void TFsudoku_main::Savepuzzle1Click() {
    if (PuzzleFileName.isEmpty()) {
        SavePuzzleAs1Click();
        return;
    }
    SaveToPuzzleFile();
}

void TFsudoku_main::SavePuzzleAs1Click() {
    const std::optional<QString> path = ChooseSavePath(QStringLiteral("Save the Quillmark puzzle"),
                                                       QStringLiteral("Text (*.txt)"), "txt");
    if (!path) {
        return;
    }
    // The name is kept even when the save then fails.
    PuzzleFileName = *path;
    SaveToPuzzleFile();
}

void TFsudoku_main::SaveToPuzzleFile() {
    LastEngineResult.clear();
    LastEngineResult = Engine().CallText("salva_su_file", {PuzzleFileName.toStdString()});
    if (LastEngineResult == QLatin1String("ERRORE_APERTURA_FILE")) {
        ShowEngineError(LastEngineResult, PuzzleFileName);
    } else if (!LastEngineResult.isEmpty()) {
        ShowEngineError(LastEngineResult, QString());
    }
}

void TFsudoku_main::Load1Click() {
    LastEngineResult.clear();
    CurrentGridText = Engine().CallText("restituisci_stringa");
    LastEngineResult = CurrentGridText;
    if (CurrentGridText != EmptyGridText) {
        if (!Dialogs().Confirm(QStringLiteral("Do you want clear the grid and load a new file?"))) {
            return;
        }
        // Emptied now, before any file is chosen: a cancelled dialog leaves it empty.
        ClearBoard();
    }
    const std::optional<QString> path = Dialogs().AskOpenFileName({QDir::currentPath()});
    if (!path) {
        return;
    }
    LastEngineResult.clear();
    LastEngineResult = Engine().CallText("leggi_da_file", {path->toStdString()});
    if (LastEngineResult.isEmpty()) {
        RefreshBoard(QStringLiteral("file"));
        ControlStopwatch(QStringLiteral("start"));
    } else {
        ShowEngineError(LastEngineResult, *path);
    }
}
