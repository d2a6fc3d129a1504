#include "appearance/skins.h"

#include <QFileInfo>

#include "appearance/skin_colors_file.h"
#include "toolkit/jpeg_file.h"

namespace appearance {

namespace {

QPixmap HeaderPicture(const QString& path) {
    return QPixmap::fromImage(toolkit::ReadJpeg(path));
}

}  // namespace

Skins::Skins(QStringList roots) : roots_(std::move(roots)) {}

QString Skins::Folder() const {
    for (const QString& root : roots_) {
        const QString folder = root + u'/' + name_ + u'/';
        if (QFileInfo(folder).isDir()) {
            return folder;
        }
    }
    return roots_.value(0) + u'/' + name_ + u'/';
}

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
    return SkinMenuOrder(ListSkinDirectories(roots_));
}

}  // namespace appearance
