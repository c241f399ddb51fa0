#include "rxlog.h"

#include "fileerror.h"
#include "filewrite.h"
#include "hexbyte.h"
#include "localclock.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kRule(47, '-');
const QByteArray kLineEnd("\r\n");

// Opens without O_TRUNC: the lock must be ours before the old content is thrown away. O_NONBLOCK
// keeps a FIFO without a reader from hanging the window; it is cleared once open.
int OpenLocked(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0)
        throw FileError(errno, TFileOperation::Create);
    struct stat info{};
    int failure = 0;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        failure = EWOULDBLOCK;
    else if (::fstat(fd, &info) != 0)
        failure = errno;
    else if (S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0)
        failure = errno;
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        failure = errno;
    if (failure) {
        ::close(fd);
        throw FileError(failure, TFileOperation::Create);
    }
    return fd;
}

} // namespace

TRxLog::TRxLog(TClock &clock)
    : m_clock(clock)
    , m_stamper(clock)
{
}

TRxLog::~TRxLog()
{
    try {
        if (IsOpen())
            CloseWithoutTrailer();
    } catch (const TAppError &) {
        // Nobody is left to tell; the descriptor is closed either way.
    }
}

void TRxLog::Start(const QString &path)
{
    if (IsOpen())
        CloseWithoutTrailer();
    m_fd = OpenLocked(path);
    m_used = 0;
    m_stamper.Restart();
    try {
        PutLine("Velorand log file");
        PutDateLine();
        PutLine(kRule);
    } catch (const TAppError &) {
        CloseFile();
        throw;
    }
}

void TRxLog::Stop()
{
    if (!IsOpen())
        return;
    Put(kLineEnd);
    PutLine(kRule);
    PutDateLine();
    PutLine("End log file");
    Flush();
    CloseFile();
}

void TRxLog::CloseWithoutTrailer()
{
    if (!IsOpen())
        return;
    try {
        Flush();
    } catch (const TAppError &) {
        CloseFile();
        throw;
    }
    CloseFile();
}

void TRxLog::WriteRecords(const std::uint8_t *data, int size, bool hexMode, bool timeMode,
                          TStampFormat stampFormat)
{
    if (!IsOpen())
        return;
    try {
        if (hexMode)
            HexRecords(data, size);
        else
            StringRecords(data, size, timeMode, stampFormat);
    } catch (const TAppError &error) {
        throw TLogWriteError(error, m_index);
    }
}

void TRxLog::HexRecords(const std::uint8_t *data, int size)
{
    for (m_index = 0; m_index < size; ++m_index) {
        const std::uint8_t value = data[m_index];
        char record[3] = {0, 0, ' '};
        PutHexByte(record, value);
        Put(record, 3);
        if (m_hexCount == kHexPerLine - 1) {
            m_hexCount = 0;
            Put(kLineEnd);
        } else {
            ++m_hexCount;
        }
    }
}

// Runs between CRs go into the buffer in pieces that end exactly where it fills, so a failed
// write is charged to the byte that filled it.
void TRxLog::StringRecords(const std::uint8_t *data, int size, bool timeMode, TStampFormat stampFormat)
{
    int at = 0;
    while (at < size) {
        m_index = at;
        if (data[at] == '\r') {
            if (timeMode) {
                Put("\r", 1);
                Put(m_stamper.Text(stampFormat));
                Put("> ", 2);
            } else {
                Put("\x10", 1);
            }
            ++at;
            continue;
        }
        const void *cr = std::memchr(data + at, '\r', size_t(size - at));
        const int runEnd = cr ? int(static_cast<const std::uint8_t *>(cr) - data) : size;
        const int piece = std::min(runEnd - at, kBufferSize - m_used);
        std::memcpy(m_buffer + m_used, data + at, size_t(piece));
        m_used += piece;
        at += piece;
        m_index = at - 1;
        if (m_used == kBufferSize)
            Flush();
    }
}

void TRxLog::Put(const char *data, int size)
{
    while (size > 0) {
        const int piece = std::min(size, kBufferSize - m_used);
        std::memcpy(m_buffer + m_used, data, size_t(piece));
        m_used += piece;
        data += piece;
        size -= piece;
        if (m_used == kBufferSize)
            Flush();
    }
}

void TRxLog::PutLine(const QByteArray &text)
{
    Put(text);
    Put(kLineEnd);
}

void TRxLog::PutDateLine()
{
    const QByteArray date = m_clock.DateText();
    PutLine("Date: " + date + " - " + m_clock.TimeText());
}

void TRxLog::Flush()
{
    WriteAll(m_fd, m_buffer, std::exchange(m_used, 0));
}

void TRxLog::CloseFile()
{
    ::close(m_fd);
    m_fd = -1;
    m_used = 0;
}
