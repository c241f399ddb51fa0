#include "filewrite.h"

#include "fileerror.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

void WriteAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, std::size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw FileError(written < 0 ? errno : EIO, TFileOperation::Write);
        data += written;
        size -= written;
    }
}

void SaveFile(const QString &path, QByteArrayView data)
{
    // O_NONBLOCK keeps a FIFO without a reader from hanging the window; it is cleared once open.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0)
        throw FileError(errno, TFileOperation::Create);
    try {
        if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
            throw FileError(errno, TFileOperation::Write);
        WriteAll(fd, data.data(), data.size());
    } catch (const TAppError &) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0)
        throw FileError(errno, TFileOperation::Close);
}
