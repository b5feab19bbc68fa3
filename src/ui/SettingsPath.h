#pragma once

#include <QString>

namespace fenu {

/// Where Settings.ini lives: beside the executable when the file is already there
/// or that folder is writable; otherwise in the user's configuration folder, since
/// an installed program's folder is read-only and its records would be lost.
QString ChooseSettingsFile(const QString& programFolder, const QString& userConfigFolder);

/// ChooseSettingsFile for this program, formed anew on each call.
QString SettingsFile();

} // namespace fenu
