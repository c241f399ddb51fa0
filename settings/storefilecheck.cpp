#include "storefilecheck.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the kernel follows before it calls the chain a loop.
constexpr int kMaxLinks = 40;
// Enough to meet a full disk without writing a large file to find out.
constexpr qint64 kMaxProbeBytes = qint64(1) << 20;

QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

std::optional<QString> KindOf(const QString &path)
{
    struct stat status {};
    if (::stat(path.toLocal8Bit().constData(), &status) != 0 || S_ISREG(status.st_mode))
        return std::nullopt;
    if (S_ISDIR(status.st_mode))
        return QStringLiteral("a folder");
    if (S_ISCHR(status.st_mode))
        return QStringLiteral("a character device");
    if (S_ISBLK(status.st_mode))
        return QStringLiteral("a block device");
    if (S_ISFIFO(status.st_mode))
        return QStringLiteral("a named pipe");
    if (S_ISSOCK(status.st_mode))
        return QStringLiteral("a socket");
    return QStringLiteral("no regular file");
}

// 0, or the errno of the step of an atomic save that fails: a new file beside the old one,
// filled with as many bytes as the save writes.
int TrySave(const QString &path, qint64 bytes)
{
    QByteArray name = (path + QStringLiteral(".XXXXXX")).toLocal8Bit();
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    const QByteArray filler(int(qBound<qint64>(1, bytes, kMaxProbeBytes)), '\n');
    int error = 0;
    if (::write(fd, filler.constData(), size_t(filler.size())) != filler.size() || ::fsync(fd) != 0)
        error = errno == 0 ? ENOSPC : errno;
    ::close(fd);
    ::unlink(name.constData());
    return error;
}

} // namespace

namespace StoreFileCheck {

QString FinalTarget(const QString &path)
{
    QFileInfo info(path);
    for (int hops = 0; hops < kMaxLinks && info.isSymLink(); ++hops)
        info.setFile(info.symLinkTarget());
    return info.filePath();
}

std::optional<QString> Refusal(const QString &path)
{
    const QString target = FinalTarget(path);
    if (QFileInfo(target).isSymLink())
        return QStringLiteral("a loop of symbolic links");
    const std::optional<QString> kind = KindOf(target);
    if (!kind)
        return std::nullopt;
    return QStringLiteral("not a regular file but %1").arg(*kind);
}

QString WhyNotWritten(const QString &path, qint64 bytes)
{
    if (const std::optional<QString> refusal = Refusal(path))
        return *refusal;
    const QString target = QFileInfo(FinalTarget(path)).absoluteFilePath();
    const QString folder = QFileInfo(target).absolutePath();
    const QFileInfo folderInfo(folder);
    if (folderInfo.exists() && !folderInfo.isDir())
        return SystemError(ENOTDIR);
    if (!folderInfo.exists() && ::mkdir(folder.toLocal8Bit().constData(), 0700) != 0)
        return SystemError(errno);
    if (const int error = TrySave(target, bytes))
        return SystemError(error);
    return QStringLiteral("the file could not be written");
}

} // namespace StoreFileCheck
