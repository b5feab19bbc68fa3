#include "ui/SettingsPath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace fenu {

namespace {
const QString FileName = QStringLiteral("Settings.ini");

// The install step puts the desktop entry in <datadir>/applications; found where it
// would be relative to the program, it says the program is installed. A portable
// copy or a build tree has none there.
bool IsInstalled(const QString& programFolder) {
    return QFileInfo::exists(
        QDir(programFolder).filePath(QStringLiteral(FENU_DESKTOP_ENTRY_FROM_BIN)));
}
} // namespace

QString ChooseSettingsFile(const QString& programFolder, const QString& userConfigFolder) {
    const QString beside = QDir(programFolder).absoluteFilePath(FileName);
    const QFileInfo folder(programFolder);
    if (!IsInstalled(programFolder) &&
        (QFileInfo::exists(beside) || (folder.isDir() && folder.isWritable())))
        return beside;
    return QDir(userConfigFolder).absoluteFilePath(FileName);
}

QString SettingsFile() {
    return ChooseSettingsFile(QCoreApplication::applicationDirPath(),
                              QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

} // namespace fenu
