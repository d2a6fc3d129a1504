#include "appearance/skin_menu.h"

#include <QDir>
#include <algorithm>

namespace appearance {

namespace {

const QString kDefaultSkin = QStringLiteral("default");
// A directory of this name ends the walk: only names sorted after it become items.
const QString kWalkEnd = QStringLiteral("skin");

}  // namespace

QStringList ListSkinDirectories(const QString& skinRoot) {
    return ListSkinDirectories(QStringList{skinRoot});
}

QStringList ListSkinDirectories(const QStringList& skinRoots) {
    QStringList names;
    for (const QString& root : skinRoots) {
        // Without QDir::Hidden, entries whose names start with a dot are left out.
        names << QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    }
    names.removeDuplicates();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.compare(b, Qt::CaseSensitive) < 0;
    });
    return names;
}

SkinMenuItems SkinMenuOrder(const QStringList& sortedNames) {
    SkinMenuItems items;
    for (auto name = sortedNames.crbegin(); name != sortedNames.crend(); ++name) {
        if (*name == kWalkEnd) {
            break;
        }
        if (*name == kDefaultSkin) {
            items.defaultItemActive = true;
        } else {
            items.extraItems.append(*name);
        }
    }
    return items;
}

std::optional<int> CheckedSkinItem(const SkinMenuItems& items, const QString& currentSkin) {
    if (currentSkin == kDefaultSkin) {
        return 0;
    }
    const qsizetype index = items.extraItems.indexOf(currentSkin);
    if (index < 0) {
        return std::nullopt;
    }
    return static_cast<int>(index) + 1;
}

}  // namespace appearance
