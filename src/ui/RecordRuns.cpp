#include "ui/RecordRuns.h"

#include "game/run/RunFile.h"
#include "platform/app/VersionInfo.h"
#include "platform/profile/FileReplacement.h"
#include "platform/profile/Utf8KeepingBytes.h"
#include "ui/SettingsStore.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace fenu {

namespace {

// Five minutes of play take about 60 kB, and under 100 kB however fast the mouse
// moves: this holds some hours of the fastest play, and nothing far larger is ours.
constexpr qint64 MaxRunFileSize = 4 * 1024 * 1024;

enum class TFileRead { Read, Missing, NotRegular, Unreadable };

// Reads size bytes, or fewer where the file has shrunk meanwhile.
bool ReadUpTo(int fd, qint64 size, QByteArray& data) {
    data.resize(static_cast<qsizetype>(size));
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t got = ::read(fd, data.data() + done, static_cast<size_t>(data.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            data.truncate(done);
            return got == 0;
        }
        done += got;
    }
    return true;
}

// Reads at most maxBytes of the file at path, a symbolic link followed. What is not a
// regular file is refused before a byte is read: opening a pipe would wait for a writer
// for ever, and a device may never end. The type is asked again of the file opened
// (without waiting), which may have been swapped for another in between. The path's
// bytes as FromUtf8KeepingBytes kept them: a name the system gave that is no UTF-8
// still names its file.
TFileRead ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& data) {
    const QByteArray name = ToUtf8KeepingBytes(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        return errno == ENOENT ? TFileRead::Missing : TFileRead::Unreadable;
    if (!S_ISREG(status.st_mode))
        return TFileRead::NotRegular;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? TFileRead::Missing : TFileRead::Unreadable;
    const bool known = ::fstat(fd, &status) == 0;
    TFileRead result = TFileRead::Unreadable;
    if (known && !S_ISREG(status.st_mode))
        result = TFileRead::NotRegular;
    else if (known && ReadUpTo(fd, std::min<qint64>(status.st_size, maxBytes), data))
        result = TFileRead::Read;
    ::close(fd);
    return result;
}

// A run set for another entry (other points or name, e.g. by another copy of the
// program) is never offered, whatever else its file holds.
bool ForAnotherEntry(QByteArrayView data, const TRecord& entry) {
    TRunEntry header;
    return PeekRunEntry(data, header) &&
           (header.Points != entry.Points || header.Player != entry.Player);
}

// Why a file read so cannot hold a run, in German; empty where its bytes are to be read.
QString FileRefusal(TFileRead read, qsizetype size) {
    switch (read) {
    case TFileRead::Missing:
        return QStringLiteral("Die Datei ist nicht da.");
    case TFileRead::NotRegular:
        return QStringLiteral("Die Datei ist keine gewöhnliche Datei.");
    case TFileRead::Unreadable:
        return QStringLiteral("Die Datei kann nicht gelesen werden.");
    case TFileRead::Read:
        break;
    }
    return size > MaxRunFileSize ? QStringLiteral("Die Datei ist zu groß.") : QString();
}

} // namespace

TRecordRuns::TRecordRuns(const QString& settingsFile)
    : folder_(QFileInfo(settingsFile).absolutePath()) {}

QString TRecordRuns::Path(size_t table, TMode mode) const {
    return QDir(folder_).filePath(
        QStringLiteral("Rekordlauf-%1-%2.fenurun")
            .arg(table == 1 ? QStringLiteral("Bonus") : QStringLiteral("Normal"))
            .arg(mode));
}

QString TRecordRuns::Save(const TRunRecording& run, const TRecord& entry) const {
    const TRunEntry header{entry.Points, entry.Player, RunProgramVersion()};
    const QString path = Path(run.Settings.Bonus ? 1 : 0, run.Settings.Mode);
    QDir().mkpath(folder_);
    if (!ReplaceFileContents(path, WriteRunFile(header, run)).isEmpty())
        return CannotWriteIn(path);
    return {};
}

bool TRecordRuns::Offers(size_t table, TMode mode, const TRecord& entry) const {
    QByteArray head;
    const TFileRead read = entry.Points == 0
                               ? TFileRead::Missing
                               : ReadRegularFile(Path(table, mode), RunEntryMaxBytes, head);
    return read != TFileRead::Missing && !(read == TFileRead::Read && ForAnotherEntry(head, entry));
}

TRecordRuns::TFound TRecordRuns::ReadKept(size_t table, TMode mode, const TRecord& entry,
                                          QByteArray& data, QString& reason) const {
    const TFileRead read = entry.Points == 0
                               ? TFileRead::Missing
                               : ReadRegularFile(Path(table, mode), MaxRunFileSize + 1, data);
    if (read == TFileRead::Missing || (read == TFileRead::Read && ForAnotherEntry(data, entry)))
        return TFound::None;
    reason = FileRefusal(read, data.size());
    return reason.isEmpty() ? TFound::Ready : TFound::Refused;
}

TRecordRuns::TLoaded TRecordRuns::Load(size_t table, TMode mode, const TRecord& entry) const {
    TLoaded loaded;
    QByteArray data;
    loaded.Found = ReadKept(table, mode, entry, data, loaded.Reason);
    if (loaded.Found != TFound::Ready)
        return loaded;
    TRunEntry header;
    loaded.Reason = ReadRunFile(data, RunProgramVersion(), header, loaded.Run);
    if (!loaded.Reason.isEmpty()) {
        loaded.Found = TFound::Refused;
        return loaded;
    }
    if (loaded.Run.Settings.Mode != mode || loaded.Run.Settings.Bonus != (table == 1)) {
        loaded.Found = TFound::Refused;
        loaded.Reason = QStringLiteral("Die Datei gehört zu einem anderen Eintrag.");
    }
    return loaded;
}

TRecordRuns::TLoaded TRecordRuns::LoadFile(const QString& path, TRunEntry& header) {
    QByteArray data;
    // Read first, then judged by its size: as two arguments of one call, the size
    // could be taken before the file was read.
    const TFileRead read = ReadRegularFile(path, MaxRunFileSize + 1, data);
    TLoaded loaded;
    loaded.Reason = FileRefusal(read, data.size());
    if (!loaded.Reason.isEmpty()) {
        loaded.Found = TFound::Refused;
        return loaded;
    }
    return Read(data, header);
}

TRecordRuns::TLoaded TRecordRuns::Read(QByteArrayView data, TRunEntry& header) {
    TLoaded loaded;
    loaded.Reason = ReadRunFile(data, RunProgramVersion(), header, loaded.Run);
    loaded.Found = loaded.Reason.isEmpty() ? TFound::Ready : TFound::Refused;
    return loaded;
}

QString TRecordRuns::LastGamePath() const {
    return QDir(folder_).filePath(QStringLiteral("Letztes-Spiel.fenurun"));
}

QString TRecordRuns::SaveLastGame(const QByteArray& contents) const {
    QDir().mkpath(folder_);
    if (!ReplaceFileContents(LastGamePath(), contents).isEmpty())
        return CannotWriteIn(LastGamePath());
    return {};
}

QString TRecordRuns::SaveCopy(size_t table, TMode mode, const TRecord& entry,
                              const QString& target) const {
    QByteArray data;
    QString reason;
    const TFound found = ReadKept(table, mode, entry, data, reason);
    if (found == TFound::None)
        return QStringLiteral("Für diesen Eintrag ist kein Rekordlauf gespeichert.");
    if (found == TFound::Refused)
        return reason;
    if (!ReplaceFileContents(target, data).isEmpty())
        return CannotWriteIn(target);
    return {};
}

void TRecordRuns::RemoveEmptied(const TRecordTable& records, const TRecordTable& loaded) const {
    for (size_t t = 0; t < records.size(); ++t) {
        for (size_t n = 0; n < records[t].size(); ++n) {
            if (records[t][n].Points == 0 && loaded[t][n].Points != 0)
                QFile::remove(Path(t, static_cast<TMode>(n)));
        }
    }
}

QString SharedRunFileName(size_t table, TMode mode, const TRecord& entry) {
    // A name may hold what no file name can ('/', and elsewhere ':', backslash, '*', '?')
    // or what a shell or a chat program would mangle: only letters, digits, '-', '_'
    // and '.' are kept, and a long name is cut short well below any file name limit.
    constexpr qsizetype MaxPlayerChars = 40;
    QString player = entry.Player.trimmed().left(MaxPlayerChars);
    for (QChar& c : player) {
        if (!c.isLetterOrNumber() && c != u'-' && c != u'_' && c != u'.')
            c = u'_';
    }
    QStringList parts{QStringLiteral("feNU"), RunDifficultyName(mode)};
    if (table == 1)
        parts << QStringLiteral("Bonus");
    if (!player.isEmpty())
        parts << player;
    parts << QStringLiteral("%1-Punkte.fenurun").arg(entry.Points);
    return parts.join(u'-');
}

QString TRecordRuns::SaveRun(const QString& target, const TRunEntry& entry,
                             const TRunRecording& run) {
    if (!ReplaceFileContents(target, WriteRunFile(entry, run)).isEmpty())
        return CannotWriteIn(target);
    return {};
}

QString RunProgramVersion() {
    const VersionInfo& info = ProgramVersionInfo();
    if (info.Translations().empty())
        return {};
    return info.QueryString(VersionInfo::StringPath(info.Translations()[0], "FileVersion"))
        .value_or(QString());
}

} // namespace fenu
