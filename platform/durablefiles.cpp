#include "platform/durablefiles.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

bool fail(QString* error, const QString& what, int code = errno)
{
    if (error)
        *error = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(code));
    return false;
}

platform::FileStamp stampOf(const struct stat& status)
{
    platform::FileStamp stamp;
    stamp.size = status.st_size;
    stamp.modifiedNs = static_cast<qint64>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    stamp.inode = status.st_ino;
    stamp.device = status.st_dev;
    return stamp;
}

bool writeAll(int fd, const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(qMin<qint64>(size, 1 << 30)));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// Syncs and closes `fd`; a close that fails loses what was written too.
bool syncAndClose(int fd)
{
    const bool synced = ::fsync(fd) == 0;
    const int syncError = errno;
    const bool closed = ::close(fd) == 0;
    if (!synced)
        errno = syncError;
    return synced && closed;
}

int createNew(const QString& path)
{
    return ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

// A link made anew where the file system takes no second name for one.
bool copyLink(const QByteArray& source, const QByteArray& copy)
{
    QByteArray target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(source.constData(), target.data(), static_cast<size_t>(target.size()));
    if (length < 0 || length >= target.size())
        return false;
    target.truncate(static_cast<int>(length));
    return ::symlink(target.constData(), copy.constData()) == 0;
}

bool linkTree(const QByteArray& from, const QByteArray& to, dev_t device,
              const std::function<bool(const QString&)>* leaveOut, QString* error)
{
    DIR* folder = ::opendir(from.constData());
    if (!folder)
        return fail(error, QFile::decodeName(from));
    bool ok = true;
    while (ok) {
        errno = 0;
        const dirent* entry = ::readdir(folder);
        if (!entry) {
            if (errno != 0)
                ok = fail(error, QFile::decodeName(from));
            break;
        }
        const QByteArray name(entry->d_name);
        if (name == "." || name == ".." || (leaveOut && (*leaveOut)(QFile::decodeName(name))))
            continue;
        const QByteArray source = from + '/' + name;
        const QByteArray copy = to + '/' + name;
        struct stat status {};
        if (::lstat(source.constData(), &status) != 0) {
            ok = fail(error, QFile::decodeName(source));
        } else if (S_ISDIR(status.st_mode)) {
            // Everything under the folder goes with it when it is removed;
            // what another file system holds is not this folder's to carry.
            if (status.st_dev != device)
                ok = fail(error, QFile::decodeName(source), EXDEV);
            else if (::mkdir(copy.constData(), 0700) != 0)
                ok = fail(error, QFile::decodeName(copy));
            else
                ok = linkTree(source, copy, device, nullptr, error)
                    && (::chmod(copy.constData(), status.st_mode & 07777) == 0 || fail(error, QFile::decodeName(copy)));
        } else if (::linkat(AT_FDCWD, source.constData(), AT_FDCWD, copy.constData(), 0) == 0) {
            continue;
        } else if (S_ISREG(status.st_mode)) {
            ok = platform::copyToNewFile(QFile::decodeName(source), stampOf(status), QFile::decodeName(copy), error)
                == platform::CopyResult::Copied;
        } else if (S_ISLNK(status.st_mode)) {
            ok = copyLink(source, copy) || fail(error, QFile::decodeName(source));
        } else {
            ok = fail(error, QFile::decodeName(source));
        }
    }
    ::closedir(folder);
    return ok;
}

} // namespace

namespace platform {

FileStamp fileStamp(const QString& path)
{
    struct stat status {};
    if (::lstat(native(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return FileStamp();
    return stampOf(status);
}

bool writeNewFile(const QString& path, const QByteArray& bytes, QString* error)
{
    const int fd = createNew(path);
    if (fd < 0)
        return fail(error, path);
    if (!writeAll(fd, bytes.constData(), bytes.size())) {
        const int code = errno;
        ::close(fd);
        return fail(error, path, code);
    }
    return syncAndClose(fd) || fail(error, path);
}

CopyResult copyToNewFile(const QString& from, const FileStamp& stamp, const QString& to, QString* error)
{
    const int source = ::open(native(from).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    struct stat status {};
    if (source < 0 || ::fstat(source, &status) != 0 || !S_ISREG(status.st_mode) || stampOf(status) != stamp) {
        if (source >= 0)
            ::close(source);
        return CopyResult::SourceChanged;
    }
    const int copy = createNew(to);
    if (copy < 0) {
        fail(error, to);
        ::close(source);
        return CopyResult::Failed;
    }
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(source, buffer.data(), static_cast<size_t>(buffer.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ok = fail(error, from);
            break;
        }
        if (got == 0)
            break;
        if (!writeAll(copy, buffer.constData(), got)) {
            ok = fail(error, to);
            break;
        }
    }
    ::close(source);
    if (!ok) {
        ::close(copy);
        return CopyResult::Failed;
    }
    return syncAndClose(copy) || fail(error, to) ? CopyResult::Copied : CopyResult::Failed;
}

bool syncFolder(const QString& path, QString* error)
{
    const int fd = ::open(native(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return fail(error, path);
    return syncAndClose(fd) || fail(error, path);
}

QString freshName(const QString& parent, const QString& prefix)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (;;) {
        QString name = prefix;
        for (int i = 0; i < 6; ++i)
            name += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
        const QString path = parent + QLatin1Char('/') + name;
        struct stat status {};
        if (::lstat(native(path).constData(), &status) != 0 && errno == ENOENT)
            return path;
    }
}

QString makeFreshFolder(const QString& parent, const QString& prefix, const QString& like, QString* error)
{
    struct stat model {};
    const bool hasModel = ::stat(native(like).constData(), &model) == 0 && S_ISDIR(model.st_mode);
    for (int tries = 0; tries < 100; ++tries) {
        const QString path = freshName(parent, prefix);
        if (::mkdir(native(path).constData(), 0777) != 0) {
            if (errno == EEXIST)
                continue;
            fail(error, path);
            return QString();
        }
        if (hasModel && ::chmod(native(path).constData(), model.st_mode & 07777) != 0) {
            fail(error, path);
            ::rmdir(native(path).constData());
            return QString();
        }
        return path;
    }
    fail(error, parent, EEXIST);
    return QString();
}

bool linkContents(const QString& from, const QString& to, const std::function<bool(const QString&)>& leaveOut,
                  QString* error)
{
    struct stat status {};
    if (::stat(native(from).constData(), &status) != 0)
        return fail(error, from);
    return linkTree(native(from), native(to), status.st_dev, &leaveOut, error);
}

Swap putInPlace(const QString& staged, const QString& target, const QString& parked, QString* error)
{
    const QByteArray stagedPath = native(staged);
    const QByteArray targetPath = native(target);
    struct stat status {};
    Swap swap = Swap::Failed;
    if (::lstat(targetPath.constData(), &status) != 0) {
        if (errno != ENOENT)
            return fail(error, target), Swap::Failed;
        if (::rename(stagedPath.constData(), targetPath.constData()) != 0)
            return fail(error, target), Swap::Failed;
        swap = Swap::Moved;
    } else if (::renameat2(AT_FDCWD, stagedPath.constData(), AT_FDCWD, targetPath.constData(), RENAME_EXCHANGE) == 0) {
        swap = Swap::Exchanged;
    } else if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) {
        // Network shares and older file systems: the earlier folder steps
        // aside first, and comes back when the new one cannot take its place.
        const QByteArray parkedPath = native(parked);
        if (::rename(targetPath.constData(), parkedPath.constData()) != 0)
            return fail(error, target), Swap::Failed;
        if (::rename(stagedPath.constData(), targetPath.constData()) != 0) {
            const int code = errno;
            ::rename(parkedPath.constData(), targetPath.constData());
            return fail(error, target, code), Swap::Failed;
        }
        swap = Swap::Parked;
    } else {
        return fail(error, target), Swap::Failed;
    }
    const int slash = target.lastIndexOf(QLatin1Char('/'));
    syncFolder(slash < 0 ? QStringLiteral(".") : slash == 0 ? QStringLiteral("/") : target.left(slash), error);
    return swap;
}

} // namespace platform
