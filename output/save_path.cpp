#include "output/save_path.h"

#include <QDir>
#include <QFileInfo>

namespace output {

QString WithDefaultSuffix(const QString& path, const QString& suffix) {
    const QString name = QFileInfo(path).fileName();
    // A name that is only a leading dot ("." files) counts as having no extension.
    if (name.lastIndexOf(u'.') > 0) {
        return path;
    }
    return path + u'.' + suffix;
}

QString ReplaceQuestion(const QString& path) {
    return QFileInfo(path).fileName() +
           QStringLiteral(" already exists.\nDo you want to replace it?");
}

}  // namespace output
