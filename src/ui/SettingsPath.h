#pragma once

#include <QString>

namespace fenu {

/// Where Settings.ini lives. An installed program keeps it in the user's
/// configuration folder, whoever runs it: a file in a system folder belongs to no
/// package, outlives an uninstall and is shared by everyone who can write there.
/// A portable copy or a build tree keeps it beside the executable when the file is
/// already there or that folder is writable, and in the user's folder otherwise.
QString ChooseSettingsFile(const QString& programFolder, const QString& userConfigFolder);

/// ChooseSettingsFile for this program, formed anew on each call.
QString SettingsFile();

} // namespace fenu
