#include "output/puzzle_files.h"

#include <QDir>

#include "board/board_session.h"
#include "engine/puzzle_engine.h"
#include "output/save_path.h"
#include "toolkit/dialogs.h"
#include "toolkit/sentences.h"

namespace output {

PuzzleFiles::PuzzleFiles(engine::PuzzleEngine& engine, board::BoardSession& board,
                         toolkit::Dialogs& dialogs, QObject* parent)
    : toolkit::Feature(parent), engine_(engine), board_(board), dialogs_(dialogs) {}

void PuzzleFiles::Save() {
    if (puzzleFileName_.isEmpty()) {
        SaveAs();
        return;
    }
    SaveToPuzzleFile();
}

void PuzzleFiles::SaveAs() {
    const std::optional<QString> path =
        ChooseSavePath(dialogs_, sentences::kSavePuzzleTitle, sentences::kPuzzleFileType, "txt");
    if (!path) {
        return;
    }
    puzzleFileName_ = *path;
    SaveToPuzzleFile();
}

void PuzzleFiles::SaveToPuzzleFile() {
    const QString result = engine_.SaveToFile(puzzleFileName_);
    if (result == QLatin1String("ERRORE_APERTURA_FILE")) {
        emit engineFailed(result, puzzleFileName_);
    } else if (!result.isEmpty()) {
        emit engineFailed(result, QString());
    }
}

bool PuzzleFiles::Load() {
    if (!board_.EngineGridIsEmpty()) {
        if (!dialogs_.Confirm(sentences::kClearForLoad, toolkit::Answer::No)) {
            return false;
        }
        // Emptied now, before any file is chosen: a cancelled dialog leaves it empty.
        board_.ClearBoard();
    }
    const std::optional<QString> path = dialogs_.AskOpenFileName({QDir::currentPath()});
    if (!path) {
        return false;
    }
    const QString result = engine_.LoadFromFile(*path);
    if (!result.isEmpty()) {
        emit engineFailed(result, *path);
        return false;
    }
    board_.RefreshBoard(QStringLiteral("file"));
    return true;
}

}  // namespace output
