#pragma once

#include <QString>

class QSqlError;

namespace fenu {

/// SQLite's primary result codes that the statistics tell apart.
enum class TSqliteCode : int {
    Corrupt = 11,
    Busy = 5,
    Locked = 6,
    ReadOnly = 8,
    IoError = 10,
    Full = 13,
    CannotOpen = 14,
    NotADatabase = 26,
};

/// The primary result code of a failed statement (0 when none is known).
int SqliteCode(const QSqlError& error);

/// The reason of a failure, in German, for the player: what happened to the file,
/// not SQLite's wording.
QString SqliteFailureReason(const QSqlError& error);

} // namespace fenu
