#include "platform/FileReplacement.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

namespace fenu {

namespace {

QString SystemError(const char* what) {
    return QString::fromLatin1(what) + QStringLiteral(": ") +
           QString::fromLocal8Bit(std::strerror(errno));
}

bool WriteAll(int fd, const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

mode_t NewFileMode(const QByteArray& target) {
    struct stat existing {};
    if (::stat(target.constData(), &existing) == 0)
        return existing.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file exists and we may not change it: no write permission for us, or none for
// anybody (read-only, which holds even for the superuser, as the read-only attribute
// does elsewhere). A rename over it would succeed where writing it would not.
bool ExistsReadOnly(const QByteArray& target) {
    struct stat existing {};
    if (::stat(target.constData(), &existing) != 0)
        return false;
    return (existing.st_mode & 0222) == 0 || ::access(target.constData(), W_OK) != 0;
}

// Rewrites the file where it is: for a file we may write in a folder where we may
// not create the temporary file.
bool WriteInPlace(const QByteArray& target, const QByteArray& bytes) {
    const int fd = ::open(target.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    const int saved = errno;
    const bool closed = ::close(fd) == 0;
    errno = saved;
    return written && closed;
}

void SyncFolderOf(const QByteArray& target) {
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0    ? QByteArray(".")
                              : slash == 0 ? QByteArray("/")
                                           : target.first(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

QString ReplaceFileContents(const QString& path, const QByteArray& contents,
                            const TBeforeReplaceHook& beforeReplace) {
    QByteArray target = QFile::encodeName(path);
    // Replace the file a symbolic link points to, not the link.
    const QFileInfo info(path);
    if (info.isSymLink())
        target = QFile::encodeName(info.symLinkTarget());

    if (ExistsReadOnly(target)) {
        errno = EACCES;
        return SystemError("write");
    }

    const QByteArray& bytes = contents;
    QByteArray temporary = target + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        const int saved = errno;
        if ((saved == EACCES || saved == EPERM) && ::access(target.constData(), F_OK) == 0) {
            // The folder is closed to us but the file is ours to write.
            return WriteInPlace(target, bytes) ? QString() : SystemError("write");
        }
        errno = saved;
        return SystemError("create temporary file");
    }
    const auto fail = [&](const char* what) {
        QString error = SystemError(what);
        ::unlink(temporary.constData());
        return error;
    };
    if (::fchmod(fd, NewFileMode(target)) != 0 || !WriteAll(fd, bytes) || ::fsync(fd) != 0) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return fail("write temporary file");
    }
    if (::close(fd) != 0)
        return fail("close temporary file");
    if (beforeReplace && !beforeReplace(QFile::decodeName(temporary))) {
        errno = ECANCELED;
        return fail("replace");
    }
    if (::rename(temporary.constData(), target.constData()) != 0)
        return fail("replace");
    SyncFolderOf(target);
    return {};
}

} // namespace fenu
