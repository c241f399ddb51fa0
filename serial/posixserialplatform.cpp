#include "posixserialplatform.h"

#include "comportmap.h"
#include "posixerror.h"
#include "ttyioctl.h"

#include <cerrno>
#include <ctime>
#include <limits>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

TSerialStatus StatusOf(int error)
{
    return ClassifyErrno(error).Status;
}

TSerialOpenResult OpenFailed(const QString &device, int error)
{
    return {kInvalidPortHandle, ClassifyErrno(error).Failure, device};
}

// Both locks: TIOCEXCL alone races and does not stop root, flock alone stops only programs that
// take it too.
int LockExclusively(int fd)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return errno;
    return TtyIoctl::SetExclusive(fd, true);
}

bool HungUp(int fd)
{
    pollfd entry{fd, 0, 0};
    return ::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLHUP | POLLERR | POLLNVAL));
}

TSerialCount CountOf(int fd, ssize_t result)
{
    if (result >= 0)
        return {static_cast<std::int32_t>(result), TSerialStatus::Ok};
    const TSerialStatus status = StatusOf(errno);
    // An error the errno alone does not explain, on a line that has hung up, is the hang-up.
    return {0, status == TSerialStatus::Failed && HungUp(fd) ? TSerialStatus::Gone : status};
}

} // namespace

TPosixSerialPlatform::~TPosixSerialPlatform()
{
    while (!m_descriptors.empty())
        Close(m_descriptors.begin()->first);
}

TSerialOpenResult TPosixSerialPlatform::Open(const QString &name)
{
    const QString device = TComPortMap().DevicePath(name);
    if (device.isEmpty())
        return OpenFailed(name, ENOENT);
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return OpenFailed(device, errno);
    int error = ::isatty(fd) ? LockExclusively(fd) : ENOTTY;
    if (error != 0) {
        ::close(fd);
        return OpenFailed(device, error);
    }
    return {Register(fd), TOpenFailure::None, device};
}

TPortHandle TPosixSerialPlatform::Register(int fd)
{
    const std::lock_guard lock(m_descriptorsLock);
    // Handles are never reused soon, so a stale one cannot reach another port.
    do {
        m_lastHandle = m_lastHandle == std::numeric_limits<TPortHandle>::max() ? 1 : m_lastHandle + 1;
    } while (m_descriptors.contains(m_lastHandle));
    m_descriptors.emplace(m_lastHandle, fd);
    return m_lastHandle;
}

int TPosixSerialPlatform::Descriptor(TPortHandle handle) const
{
    const std::lock_guard lock(m_descriptorsLock);
    const auto found = m_descriptors.find(handle);
    return found == m_descriptors.end() ? -1 : found->second;
}

void TPosixSerialPlatform::Close(TPortHandle handle)
{
    const int fd = Descriptor(handle);
    if (fd < 0)
        return;
    TtyIoctl::SetExclusive(fd, false);
    ::close(fd);
    const std::lock_guard lock(m_descriptorsLock);
    m_descriptors.erase(handle);
}

TSerialStatus TPosixSerialPlatform::SetLineState(TPortHandle handle, const TLineState &state)
{
    const int fd = Descriptor(handle);
    if (fd < 0)
        return TSerialStatus::Failed;
    const TSerialStatus applied = StatusOf(TtyIoctl::ApplyLineState(fd, state));
    if (applied == TSerialStatus::Gone)
        return applied;
    // Linux raises both lines at every open; the line state decides where they stay.
    TtyIoctl::SetModemLines(fd, TtyIoctl::kDtr, state.fDtrControl == 1);
    if (state.fRtsControl != 2)
        TtyIoctl::SetModemLines(fd, TtyIoctl::kRts, state.fRtsControl == 1);
    return applied;
}

TSerialStatus TPosixSerialPlatform::Purge(TPortHandle handle, std::uint32_t bits)
{
    const int fd = Descriptor(handle);
    if (fd < 0)
        return TSerialStatus::Failed;
    return StatusOf(TtyIoctl::Flush(fd, bits & SerialPurge::kRxClear, bits & SerialPurge::kTxClear));
}

TSerialStatus TPosixSerialPlatform::SetupQueues(TPortHandle handle, std::uint32_t, std::uint32_t)
{
    // The kernel's queues have a fixed size.
    return Descriptor(handle) < 0 ? TSerialStatus::Failed : TSerialStatus::Ok;
}

TSerialStatus TPosixSerialPlatform::SetTimeouts(TPortHandle handle, const TCommTimeouts &)
{
    // A non-blocking descriptor with VMIN 1 already returns at once with what has arrived.
    return Descriptor(handle) < 0 ? TSerialStatus::Failed : TSerialStatus::Ok;
}

TSerialStatus TPosixSerialPlatform::EscapeFunction(TPortHandle handle, int code)
{
    const int fd = Descriptor(handle);
    if (fd < 0 || code < SerialEscape::kSetRts || code > SerialEscape::kClrDtr)
        return TSerialStatus::Failed;
    const int line = code >= SerialEscape::kSetDtr ? TtyIoctl::kDtr : TtyIoctl::kRts;
    const bool raise = code == SerialEscape::kSetRts || code == SerialEscape::kSetDtr;
    return StatusOf(TtyIoctl::SetModemLines(fd, line, raise));
}

TSerialStatus TPosixSerialPlatform::ModemInputs(TPortHandle handle, TModemInputs &lines)
{
    const int fd = Descriptor(handle);
    int bits = 0;
    if (fd < 0)
        return TSerialStatus::Failed;
    const TSerialStatus status = StatusOf(TtyIoctl::ModemLines(fd, bits));
    if (status == TSerialStatus::Ok)
        lines = TtyIoctl::ModemInputsOf(bits);
    return status;
}

TSerialStatus TPosixSerialPlatform::WaitModemChange(TPortHandle handle)
{
    const int fd = Descriptor(handle);
    return fd < 0 ? TSerialStatus::Failed : ClassifyWaitErrno(TtyIoctl::WaitModemChange(fd));
}

TSerialStatus TPosixSerialPlatform::SetBreak(TPortHandle handle, bool on)
{
    const int fd = Descriptor(handle);
    return fd < 0 ? TSerialStatus::Failed : StatusOf(TtyIoctl::SetBreak(fd, on));
}

TSerialCount TPosixSerialPlatform::Read(TPortHandle handle, void *buffer, std::int32_t maxCount)
{
    const int fd = Descriptor(handle);
    if (fd < 0)
        return {0, TSerialStatus::Failed};
    if (maxCount <= 0)
        return {0, TSerialStatus::WouldBlock};
    const TSerialCount read = CountOf(fd, ::read(fd, buffer, static_cast<size_t>(maxCount)));
    // With VMIN 1 a read of nothing waits (EAGAIN here); end of file means the other side hung up.
    if (read.Status == TSerialStatus::Ok && read.Count == 0)
        return {0, TSerialStatus::Gone};
    return read;
}

TSerialCount TPosixSerialPlatform::Write(TPortHandle handle, const void *data, std::int32_t count)
{
    const int fd = Descriptor(handle);
    if (fd < 0)
        return {0, TSerialStatus::Failed};
    if (count <= 0)
        return {0, TSerialStatus::Ok};
    return CountOf(fd, ::write(fd, data, static_cast<size_t>(count)));
}

TSerialCount TPosixSerialPlatform::OutputQueueCount(TPortHandle handle)
{
    const int fd = Descriptor(handle);
    if (fd < 0)
        return {0, TSerialStatus::Failed};
    int count = 0;
    const TSerialStatus status = StatusOf(TtyIoctl::OutputQueue(fd, count));
    return {count, status};
}

int TPosixSerialPlatform::ReadinessDescriptor(TPortHandle handle)
{
    return Descriptor(handle);
}

void TPosixSerialPlatform::WaitWritable(TPortHandle handle, int timeoutMs)
{
    pollfd entry{Descriptor(handle), POLLOUT, 0};
    if (entry.fd < 0)
        Sleep(timeoutMs);
    else
        ::poll(&entry, 1, timeoutMs);
}

void TPosixSerialPlatform::Sleep(int milliseconds)
{
    ::poll(nullptr, 0, milliseconds);
}

std::uint32_t TPosixSerialPlatform::TickCount()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

TSerialPlatform &DefaultSerialPlatform()
{
    static TPosixSerialPlatform platform;
    return platform;
}
