#include "appearance/skin_colors_file.h"

#include "toolkit/ini_file.h"

namespace appearance {

SkinColors ReadSkinColors(const QString& colorsPath) {
    const QString section = QStringLiteral("colors");
    const QString missing = QStringLiteral("NO");
    const toolkit::IniFile file(colorsPath);
    SkinColors colors;
    for (const SkinColorKey& key : kSkinColorKeys) {
        QString value = file.Read(section, QString::fromLatin1(key.name), missing);
        if (!value.isEmpty() && value != missing) {
            colors.*key.field = std::move(value);
        }
    }
    return colors;
}

}  // namespace appearance
