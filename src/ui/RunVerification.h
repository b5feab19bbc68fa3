#pragma once

#include <QString>

namespace fenu {

/// `fenu --verify`: plays the run of the file at path headless and prints its verdict
/// line (a file that cannot be read: the reason, on the standard error); the
/// program's exit status, 0 only when the replay proves the file's points.
int VerifyRunFile(const QString& path);

} // namespace fenu
