#include "appearance/skins.h"

#include "appearance/skin_colors_file.h"
#include "toolkit/jpeg_file.h"

namespace appearance {

namespace {

QPixmap HeaderPicture(const QString& path) {
    return QPixmap::fromImage(toolkit::ReadJpeg(path));
}

}  // namespace

Skins::Skins(QString programDir) : programDir_(std::move(programDir)) {}

void Skins::Apply(SkinTarget& target) {
    using Piece = SkinTarget::HeaderPiece;
    const QString folder = Folder();
    target.ShowHeaderPicture(Piece::Middle, HeaderPicture(folder + kHeaderMiddleFile));
    target.ShowHeaderPicture(Piece::Right, HeaderPicture(folder + kHeaderRightFile));
    target.ShowHeaderPicture(Piece::Left, HeaderPicture(folder + kHeaderLeftFile));
    colors_ = ReadSkinColors(folder + kSkinColorsFile);
    target.ShowColors(colors_);
}

SkinMenuItems Skins::MenuItems() const {
    return SkinMenuOrder(ListSkinDirectories(SkinsFolder(programDir_)));
}

}  // namespace appearance
