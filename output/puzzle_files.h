#pragma once

#include <QString>

#include "toolkit/feature.h"

namespace board {
class BoardSession;
}

namespace engine {
class PuzzleEngine;
}

namespace toolkit {
class Dialogs;
}

namespace output {

// Saving the engine's puzzle to a text file and loading one back. The engine writes and reads
// the file; this chooses the name, asks before a board is thrown away and reports the
// engine's errors.
class PuzzleFiles : public toolkit::Feature {
    Q_OBJECT

public:
    // Every reference must outlive the files.
    PuzzleFiles(engine::PuzzleEngine& engine, board::BoardSession& board, toolkit::Dialogs& dialogs,
                QObject* parent = nullptr);

    // The name of the last Save As, kept even when that save failed; empty before one.
    const QString& PuzzleFileName() const { return puzzleFileName_; }

    // Asks before a board with digits is emptied (at once, before any file is chosen), then
    // loads the chosen file with its filled cells locked. True when a puzzle was loaded.
    bool Load();
    // Saves to the name of the last Save As, or runs Save As when there is none yet.
    void Save();
    void SaveAs();

private:
    void SaveToPuzzleFile();

    engine::PuzzleEngine& engine_;
    board::BoardSession& board_;
    toolkit::Dialogs& dialogs_;
    QString puzzleFileName_;
};

}  // namespace output
