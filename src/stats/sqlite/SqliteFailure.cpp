#include "stats/sqlite/SqliteFailure.h"

#include <QSqlError>

namespace fenu {

int SqliteCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    // Extended result codes carry the primary one in their low byte.
    return ok ? code & 0xFF : 0;
}

QString SqliteFailureReason(const QSqlError& error) {
    switch (static_cast<TSqliteCode>(SqliteCode(error))) {
    case TSqliteCode::Corrupt:
        return QStringLiteral("Die Datei ist beschädigt.");
    case TSqliteCode::Busy:
    case TSqliteCode::Locked:
        return QStringLiteral("Die Datei ist von einem anderen Programm gesperrt.");
    case TSqliteCode::ReadOnly:
        return QStringLiteral("Die Datei ist schreibgeschützt.");
    case TSqliteCode::IoError:
        return QStringLiteral("Die Datei kann nicht gelesen oder geschrieben werden.");
    case TSqliteCode::Full:
        return QStringLiteral("Der Datenträger ist voll.");
    case TSqliteCode::CannotOpen:
        return QStringLiteral("Die Datei kann nicht geöffnet werden.");
    case TSqliteCode::NotADatabase:
        return QStringLiteral("Die Datei ist keine Datenbank.");
    }
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return QStringLiteral("Die Datenbank meldet einen Fehler (%1).").arg(detail);
}

} // namespace fenu
