#include "app/program_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace app {

namespace {

QString PlayerFolder(QStandardPaths::StandardLocation location) {
    const QString folder =
        QStandardPaths::writableLocation(location) + QStringLiteral("/quillmark");
    QDir().mkpath(folder);
    return folder + u'/';
}

}  // namespace

ProgramPaths PathsIn(const QString& programDir) {
    return {programDir + QStringLiteral("config.ini"),
            {programDir + QStringLiteral("skin")},
            programDir};
}

ProgramPaths PathsFor(const QString& executableDir, const QString& shippedSkins) {
    const QFileInfo folder(executableDir);
    if (QFileInfo(executableDir + QStringLiteral("skin")).isDir() && folder.isWritable()) {
        return PathsIn(executableDir);
    }
    const QString data = PlayerFolder(QStandardPaths::GenericDataLocation);
    return {PlayerFolder(QStandardPaths::GenericConfigLocation) + QStringLiteral("config.ini"),
            {data + QStringLiteral("skin"),
             QDir::cleanPath(QDir(executableDir).absoluteFilePath(shippedSkins))},
            PlayerFolder(QStandardPaths::GenericCacheLocation)};
}

}  // namespace app
