#include "platform/profile/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QSaveFile>

namespace fenu {

namespace {

// QSaveFile asks access(), for which the superuser may write anything; a file
// nobody may write is the owner's wish to keep it as it is, whoever runs us.
bool ExistsReadOnlyForAnybody(const QString& path) {
    struct stat existing {};
    return ::stat(QFile::encodeName(path).constData(), &existing) == 0 &&
           (existing.st_mode & 0222) == 0;
}

// QSaveFile syncs the file but not the folder, whose entry the rename changed: without
// this a power cut right after saving could bring back the old file.
void SyncFolderOf(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// QSaveFile names neither its temporary file (which may have no name before the
// rename) nor whether it made one; the open descriptor does both.
QString DescriptorPath(const QSaveFile& file) {
    return QStringLiteral("/proc/self/fd/%1").arg(file.handle());
}

} // namespace

QString ReplaceFileContents(const QString& path, const QByteArray& contents,
                            const TBeforeReplaceHook& beforeReplace) {
    if (ExistsReadOnlyForAnybody(path))
        return QStringLiteral("%1 is read-only").arg(path);

    QSaveFile file(path);
    // A writable file in a folder closed to us (a shared program folder) is rewritten
    // where it stands rather than the run's values lost.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(contents) != contents.size() || !file.flush())
        return file.errorString();
    if (beforeReplace) {
        const QString temporary = DescriptorPath(file);
        const bool inPlace =
            QFileInfo(temporary).symLinkTarget() == QFileInfo(path).canonicalFilePath();
        if (!inPlace && !beforeReplace(temporary))
            return QStringLiteral("replacing %1 was abandoned").arg(path);
    }
    if (!file.commit())
        return file.errorString();
    SyncFolderOf(path);
    return {};
}

} // namespace fenu
