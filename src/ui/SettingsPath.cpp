#include "ui/SettingsPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace fenu {

namespace {
const QString FileName = QStringLiteral("Settings.ini");
}

QString ChooseSettingsFile(const QString& programFolder, const QString& userConfigFolder) {
    const QString beside = QDir(programFolder).absoluteFilePath(FileName);
    const QFileInfo folder(programFolder);
    if (QFileInfo::exists(beside) || (folder.isDir() && folder.isWritable()))
        return beside;
    return QDir(userConfigFolder).absoluteFilePath(FileName);
}

QString SettingsFile() {
    return ChooseSettingsFile(QCoreApplication::applicationDirPath(),
                              QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

} // namespace fenu
