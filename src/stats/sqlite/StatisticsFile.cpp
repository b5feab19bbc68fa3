#include "stats/sqlite/StatisticsFile.h"

#include "stats/sqlite/SqliteFailure.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace fenu {

QString TStatisticsFile::ReadOnlyReason() const {
    const QFileInfo info(path_);
    if (!info.exists())
        return {};
    if (!info.isWritable())
        return QStringLiteral("Die Datei ist schreibgeschützt.");
    // SQLite could not make its journal beside it.
    if (!QFileInfo(info.absolutePath()).isWritable())
        return QStringLiteral("Der Ordner der Datei ist schreibgeschützt.");
    return {};
}

// Without immutable, SQLite makes the WAL journal and its index beside a file it
// only reads, with the file's read-only permissions, and they would keep every
// write failing after the file is made writable again. The journal of a copy that
// ended without a checkpoint is not read then: its last games may be missing.
QString TStatisticsFile::ReadOnlyUri() const {
    return QUrl::fromLocalFile(path_).toString(QUrl::FullyEncoded) +
           QStringLiteral("?mode=ro&immutable=1");
}

QString TStatisticsFile::ReadWriteUri() const {
    return QUrl::fromLocalFile(path_).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw");
}

// Left by a program that read the file while it was read-only; a copy of the game
// that has them open goes on as before.
void TStatisticsFile::MendJournals() const {
    for (const char* suffix : {"-wal", "-shm"}) {
        const QString journal = path_ + QString::fromLatin1(suffix);
        const QFileInfo info(journal);
        if (info.exists() && !info.isWritable())
            QFile::setPermissions(journal, QFile::permissions(path_));
    }
}

// Read through SQLite rather than a file of our own: closing that would drop the
// locks another store of this program holds on the same file (they belong to the
// process), and SQLite would take that store's journal for one a crash left.
bool TStatisticsFile::Finds(const std::function<bool(QSqlQuery&)>& finds) const {
    const QString connection =
        QStringLiteral("fenu-statistics-header-%1").arg(reinterpret_cast<quintptr>(this));
    bool found = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        database.setDatabaseName(ReadOnlyUri());
        database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        // Not there: no file to put aside. Empty: a database another copy has only
        // just started.
        if (QFileInfo(path_).size() > 0 && database.open()) {
            QSqlQuery query(database);
            found = finds(query);
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return found;
}

bool TStatisticsFile::IsNoDatabase() const {
    return Finds([](QSqlQuery& query) {
        return !query.exec(QStringLiteral("PRAGMA user_version")) &&
               SqliteCode(query.lastError()) == static_cast<int>(TSqliteCode::NotADatabase);
    });
}

bool TStatisticsFile::IsDamaged() const {
    return Finds([](QSqlQuery& query) {
        if (!query.exec(QStringLiteral("PRAGMA quick_check(1)")))
            return SqliteCode(query.lastError()) == static_cast<int>(TSqliteCode::Corrupt);
        return query.next() && query.value(0).toString() != QLatin1String("ok");
    });
}

std::unique_ptr<QLockFile> TStatisticsFile::Lock() const {
    auto lock = std::make_unique<QLockFile>(path_ + QStringLiteral(".lock"));
    // Another copy holds it for an opening's or a rename's time only.
    lock->tryLock(200);
    return lock;
}

QString TStatisticsFile::PutAside(const char* suffix, bool (TStatisticsFile::*stillSo)() const,
                                  QString& aside) const {
    const QString base = path_ + QString::fromUtf8(suffix);
    // Another copy may put the file aside and start a new one between the look at
    // the file and its rename here, and that new file must not be moved.
    const std::unique_ptr<QLockFile> lock = Lock();
    for (int number = 1; number < 1000; ++number) {
        const QString name = number == 1 ? base : base + QStringLiteral("-%1").arg(number);
        if (QFileInfo::exists(name))
            continue;
        // Put aside by another copy since this one looked.
        if (!(this->*stillSo)())
            return {};
        // A rename never replaces a file that is there.
        if (QFile::rename(path_, name)) {
            aside = name;
            return {};
        }
        // Gone: another copy moved it. The name taken meanwhile: the next one.
        if (!QFileInfo::exists(path_))
            return {};
        if (!QFileInfo::exists(name))
            return QFileInfo(name).fileName();
    }
    return QFileInfo(base).fileName();
}

} // namespace fenu
