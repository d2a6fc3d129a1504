#pragma once

#include <QString>
#include <optional>

namespace toolkit {
class Dialogs;
}

namespace output {

// The path with ".<suffix>" added when the file name typed has no extension of its own
// ("puzzle" gives "puzzle.txt"; "puzzle.sud" and "my.puzzles/p.txt" stay).
QString WithDefaultSuffix(const QString& path, const QString& suffix);

// The question before a file is replaced.
QString ReplaceQuestion(const QString& path);

// A save dialog with its title and filter opening in the current directory; the default
// extension is added to a name typed without one, and replacing an existing file is asked
// first. Nothing when the player cancels either.
std::optional<QString> ChooseSavePath(toolkit::Dialogs& dialogs, const QString& title,
                                      const QString& filter, const QString& suffix);

}  // namespace output
