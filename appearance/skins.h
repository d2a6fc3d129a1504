#pragma once

#include <QPixmap>
#include <QString>

#include "appearance/skin_colors.h"
#include "appearance/skin_colors_file.h"
#include "appearance/skin_menu.h"

namespace appearance {

// Where an applied skin shows: the three pieces of the window's header and the colours of the
// window's parts.
class SkinTarget {
public:
    enum class HeaderPiece { Left, Middle, Right };

    virtual ~SkinTarget() = default;
    virtual void ShowHeaderPicture(HeaderPiece piece, const QPixmap& picture) = 0;
    // Colours the window's parts in turn, converting each colour where it is applied: a colour
    // that is not "#rrggbb" raises std::invalid_argument naming it, and the parts before it
    // keep their new colours.
    virtual void ShowColors(const SkinColors& colors) = 0;
};

// The current skin: its name, its folder <root>/<name>/ in one of the skin folders, and its
// colours, which the board and the menu read at every paint.
class Skins {
public:
    // The folders that hold one folder per skin, the first winning where two hold a skin of
    // the same name: the program's skin/ in the build folder; installed, the player's own
    // skins before the shipped ones.
    explicit Skins(QStringList roots);

    const QString& Name() const { return name_; }
    // SkinDir: the skin's folder, ending in "/": in the first root that holds it, or in the
    // first root when none does (its pictures are then missing).
    QString Folder() const;
    // The reference stays valid for the object's life; its values change with each Apply.
    const SkinColors& Colors() const { return colors_; }

    // The skin called name becomes the current one; nothing is applied yet.
    void Choose(const QString& name) { name_ = name; }
    // Loads the header pictures into target (middle, right, then left), then reads the colour
    // file and shows its colours. A picture that cannot be read raises std::runtime_error
    // naming it: the pictures after it and the colours keep what they had.
    void Apply(SkinTarget& target);
    // The Skin submenu for the skin folders there are now.
    SkinMenuItems MenuItems() const;

private:
    QStringList roots_;
    QString name_ = QStringLiteral("default");
    SkinColors colors_;
};

}  // namespace appearance
