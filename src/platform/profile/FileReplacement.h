#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

namespace fenu {

/// Runs after the new contents are safely in the temporary file and before that
/// file replaces the old one, with a path from which they read; returning false
/// abandons the replacement. For fault tests.
using TBeforeReplaceHook = std::function<bool(const QString& newContentsPath)>;

/// Gives the file at path the new contents so that, whenever the program dies, the
/// file holds either all of the old or all of the new (QSaveFile: a temporary file in
/// the same folder, synced to disk and given the old file's permissions, renamed over
/// it). A symbolic link keeps pointing at the file it names. A file that exists
/// read-only (or not writable by us) is left alone. A writable file in a folder
/// where no temporary file can be made is rewritten in place instead, the one way
/// left to save it.
/// Returns an empty string on success, otherwise what failed and why.
QString ReplaceFileContents(const QString& path, const QByteArray& contents,
                            const TBeforeReplaceHook& beforeReplace = {});

} // namespace fenu
