#pragma once

#include <QString>

namespace output {

// The path with ".<suffix>" added when the file name typed has no extension of its own
// ("puzzle" gives "puzzle.txt"; "puzzle.sud" and "my.puzzles/p.txt" stay).
QString WithDefaultSuffix(const QString& path, const QString& suffix);

// The question before a file is replaced.
QString ReplaceQuestion(const QString& path);

}  // namespace output
