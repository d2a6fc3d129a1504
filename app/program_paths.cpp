#include "app/program_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace app {

namespace {

const QString kPlayAidsFile = QStringLiteral("play_aids.ini");

QString PlayerFolder(QStandardPaths::StandardLocation location) {
    const QString folder =
        QStandardPaths::writableLocation(location) + QStringLiteral("/quillmark");
    QDir().mkpath(folder);
    return folder + u'/';
}

}  // namespace

ProgramPaths PathsIn(const QString& programDir) {
    return {programDir + QStringLiteral("config.ini"),
            programDir + kPlayAidsFile,
            {programDir + QStringLiteral("skin")},
            programDir};
}

ProgramPaths PathsFor(const QString& executableDir, const QString& shippedSkins) {
    const QFileInfo folder(executableDir);
    if (QFileInfo(executableDir + QStringLiteral("skin")).isDir() && folder.isWritable()) {
        return PathsIn(executableDir);
    }
    const QString data = PlayerFolder(QStandardPaths::GenericDataLocation);
    const QString config = PlayerFolder(QStandardPaths::GenericConfigLocation);
    return {config + QStringLiteral("config.ini"),
            config + kPlayAidsFile,
            {data + QStringLiteral("skin"),
             QDir::cleanPath(QDir(executableDir).absoluteFilePath(shippedSkins))},
            PlayerFolder(QStandardPaths::GenericCacheLocation)};
}

}  // namespace app
