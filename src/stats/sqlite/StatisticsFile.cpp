#include "stats/sqlite/StatisticsFile.h"

#include <QFile>
#include <QFileInfo>
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

bool TStatisticsFile::IsNoDatabase() const {
    static const QByteArray Header("SQLite format 3\0", 16);
    QFile data(path_);
    if (!data.open(QIODevice::ReadOnly))
        return false;
    // An empty file is a database another copy has only just started.
    const QByteArray start = data.read(Header.size());
    return !start.isEmpty() && start != Header;
}

QString TStatisticsFile::PutAside(QString& aside) const {
    const QString base = path_ + QString::fromLatin1(AsideSuffix);
    for (int number = 1; number < 1000; ++number) {
        const QString name = number == 1 ? base : base + QStringLiteral("-%1").arg(number);
        if (QFileInfo::exists(name))
            continue;
        // Another copy starting at the same time may have put the file aside and
        // started a new one since: only a file that still is no database moves.
        if (!IsNoDatabase())
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
