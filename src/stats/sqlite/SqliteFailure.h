#pragma once

#include <QString>

class QSqlError;

namespace fenu {

/// SQLite's primary result codes that the statistics tell apart.
enum class TSqliteCode : int {
    Error = 1,
    Permission = 3,
    Busy = 5,
    Locked = 6,
    NoMemory = 7,
    ReadOnly = 8,
    IoError = 10,
    Corrupt = 11,
    Full = 13,
    CannotOpen = 14,
    Protocol = 15,
    TooBig = 18,
    Constraint = 19,
    Mismatch = 20,
    NoLargeFiles = 22,
    Authorization = 23,
    NotADatabase = 26,
};

/// The primary result code of a failed statement (0 when none is known).
int SqliteCode(const QSqlError& error);

/// The reason of a failure, in German, for the player: what happened to the file,
/// not SQLite's wording, which follows on a last line of its own only where no
/// reason is known.
QString SqliteFailureReason(const QSqlError& error);

} // namespace fenu
