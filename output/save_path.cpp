#include "output/save_path.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "toolkit/dialogs.h"
#include "toolkit/sentences.h"

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
    return QString(sentences::kReplaceFile).arg(QFileInfo(path).fileName());
}

std::optional<QString> ChooseSavePath(toolkit::Dialogs& dialogs, const QString& title,
                                      const QString& filter, const QString& suffix) {
    const std::optional<QString> chosen =
        dialogs.AskSaveFileName({title, filter, QDir::currentPath()});
    if (!chosen) {
        return std::nullopt;
    }
    const QString path = WithDefaultSuffix(*chosen, suffix);
    if (QFile::exists(path) && !dialogs.Confirm(ReplaceQuestion(path))) {
        return std::nullopt;
    }
    return path;
}

}  // namespace output
