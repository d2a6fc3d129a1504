#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace appearance {

// The names of the skin directories under skinRoot: its sub-directories without "." and
// "..", hidden ones left out, sorted without regard to case (names differing only in case
// keep a fixed order, upper case first). Empty when skinRoot does not exist.
QStringList ListSkinDirectories(const QString& skinRoot);
// The same for several skin folders at once: every name once, whichever folders hold it.
QStringList ListSkinDirectories(const QStringList& skinRoots);

// The items of the Skin submenu. Its first item, "default", is always there.
struct SkinMenuItems {
    // The items below the first one, top to bottom; each caption is a skin directory's name.
    QStringList extraItems;
    // Whether the first item reacts to clicks: only when there is a "default" directory.
    bool defaultItemActive = false;
};

// The submenu made from sortedNames, as ListSkinDirectories gives them. The names are taken
// from the last to the first: "skin" ends the walk, "default" makes the first item active,
// and every other name becomes the next item. So "blue", "default", "Green" give the items
// default, Green, blue. Names compare with regard to case: "Default" is a skin of its own.
SkinMenuItems SkinMenuOrder(const QStringList& sortedNames);

// The position of the item that carries the check mark for the current skin: 0 for the
// first item when currentSkin is exactly "default", else 1 + the index of the extra item
// whose caption equals currentSkin. Nothing when no item matches.
std::optional<int> CheckedSkinItem(const SkinMenuItems& items, const QString& currentSkin);

}  // namespace appearance
