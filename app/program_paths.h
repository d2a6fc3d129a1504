#pragma once

#include <QString>
#include <QStringList>

namespace app {

// Where the game keeps its files. Run from its build folder, a writable folder holding skin/,
// everything is beside the executable. Installed, that folder maps to the player's folders:
// config.ini under $XDG_CONFIG_HOME/quillmark/, the player's own skins under
// $XDG_DATA_HOME/quillmark/skin/ before the shipped ones, scratch pictures under
// $XDG_CACHE_HOME/quillmark/.
struct ProgramPaths {
    QString configPath;
    // The player's play aids, beside config.ini.
    QString playAidsPath;
    // The skin folders, the first winning where two hold a skin of the same name.
    QStringList skinRoots;
    // Ends in "/".
    QString scratchFolder;
};

// Everything in programDir (ending in "/"), as in the build folder.
ProgramPaths PathsIn(const QString& programDir);

// The paths of a game whose executable is in executableDir (ending in "/"): the build folder's
// when executableDir is a writable folder holding skin/, else the player's folders, with the
// shipped skins at shippedSkins (relative to executableDir, or absolute). The player's folders
// are made when missing; one that cannot be made shows as an unwritable file later, as a
// read-only program folder would.
ProgramPaths PathsFor(const QString& executableDir, const QString& shippedSkins);

}  // namespace app
