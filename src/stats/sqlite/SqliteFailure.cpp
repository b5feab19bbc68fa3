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
    case TSqliteCode::Protocol:
        return QStringLiteral("Die Datei ist von einem anderen Programm gesperrt.");
    case TSqliteCode::ReadOnly:
        return QStringLiteral("Die Datei ist schreibgeschützt.");
    case TSqliteCode::Permission:
    case TSqliteCode::Authorization:
        return QStringLiteral("Der Zugriff auf die Datei ist nicht erlaubt.");
    case TSqliteCode::IoError:
        return QStringLiteral("Die Datei kann nicht gelesen oder geschrieben werden.");
    case TSqliteCode::Full:
        return QStringLiteral("Der Datenträger ist voll.");
    case TSqliteCode::NoMemory:
        return QStringLiteral("Der Arbeitsspeicher reicht nicht aus.");
    case TSqliteCode::TooBig:
    case TSqliteCode::NoLargeFiles:
        return QStringLiteral("Die Datei ist zu groß.");
    case TSqliteCode::CannotOpen:
        return QStringLiteral("Die Datei kann nicht geöffnet werden.");
    case TSqliteCode::NotADatabase:
        return QStringLiteral("Die Datei ist keine Datenbank.");
    // The statements are the program's own: failing, they meet tables another
    // program made or changed.
    case TSqliteCode::Error:
    case TSqliteCode::Constraint:
    case TSqliteCode::Mismatch:
        return QStringLiteral("Die Tabellen der Datei passen nicht zu dieser Version von feNU.");
    }
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return QStringLiteral("Die Datenbank meldet einen unerwarteten Fehler.\n\nMeldung von SQLite: "
                          "%1")
        .arg(detail);
}

} // namespace fenu
