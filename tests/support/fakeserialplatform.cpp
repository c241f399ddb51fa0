#include "fakeserialplatform.h"

#include <algorithm>
#include <cstdint>
#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

TFakeSerialPlatform::TFakeSerialPlatform()
    : m_lineChange(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
}

TFakeSerialPlatform::~TFakeSerialPlatform()
{
    if (m_lineChange >= 0)
        ::close(m_lineChange);
}

TSerialStatus TFakeSerialPlatform::Record(const QString &call, const QString &arguments)
{
    Calls << (arguments.isEmpty() ? call : call + u' ' + arguments);
    return Failures.value(call, TSerialStatus::Ok);
}

TSerialStatus TFakeSerialPlatform::RecordOn(TPortHandle handle, const QString &call, const QString &arguments)
{
    const TSerialStatus status = Record(call, arguments);
    return IsOpenHandle(handle) ? status : TSerialStatus::Failed;
}

bool TFakeSerialPlatform::IsOpenHandle(TPortHandle handle) const
{
    return m_open.contains(handle);
}

QStringList TFakeSerialPlatform::OpenHandles() const
{
    QStringList handles;
    for (const TPortHandle handle : m_open)
        handles << QString::number(handle);
    return handles;
}

QStringList TFakeSerialPlatform::CallsStartingWith(const QStringList &prefixes) const
{
    QStringList matching;
    for (const QString &call : Calls) {
        if (std::any_of(prefixes.begin(), prefixes.end(), [&](const QString &p) { return call.startsWith(p); }))
            matching << call;
    }
    return matching;
}

TSerialOpenResult TFakeSerialPlatform::Open(const QString &name)
{
    const TSerialStatus status = Record(QStringLiteral("Open"), name);
    if (OpenFailure != TOpenFailure::None || status != TSerialStatus::Ok)
        return {kInvalidPortHandle, OpenFailure, name};
    if (std::find(m_names.cbegin(), m_names.cend(), name) != m_names.cend())
        return {kInvalidPortHandle, TOpenFailure::InUse, name};
    {
        const std::lock_guard lock(m_linesLock);
        m_open << ++m_lastHandle;
    }
    m_names.insert(m_lastHandle, name);
    return {m_lastHandle, TOpenFailure::None, name};
}

void TFakeSerialPlatform::Close(TPortHandle handle)
{
    Record(QStringLiteral("Close"), QString::number(handle));
    {
        const std::lock_guard lock(m_linesLock);
        m_open.removeOne(handle);
    }
    m_names.remove(handle);
}

TSerialStatus TFakeSerialPlatform::SetLineState(TPortHandle handle, const TLineState &state)
{
    const TSerialStatus status = RecordOn(handle, QStringLiteral("SetLineState"), QString::number(state.BaudRate));
    if (status != TSerialStatus::Ok)
        return status;
    LineStates << state;
    Dtr = state.fDtrControl == 1;
    Rts = state.fRtsControl != 0;
    const bool outOfRange = state.BaudRate == 0 || state.BaudRate > std::uint32_t(INT32_MAX) || state.ByteSize < 5
        || state.ByteSize > 8 || state.Parity > 4 || state.StopBits > 2;
    return outOfRange ? TSerialStatus::Failed : status;
}

TSerialStatus TFakeSerialPlatform::Purge(TPortHandle handle, std::uint32_t bits)
{
    const TSerialStatus status = RecordOn(handle, QStringLiteral("Purge"), QString::number(bits));
    if (status == TSerialStatus::Ok && (bits & SerialPurge::kRxClear))
        Incoming.clear();
    return status;
}

TSerialStatus TFakeSerialPlatform::SetupQueues(TPortHandle handle, std::uint32_t inSize, std::uint32_t outSize)
{
    return RecordOn(handle, QStringLiteral("SetupQueues"), QStringLiteral("%1 %2").arg(inSize).arg(outSize));
}

TSerialStatus TFakeSerialPlatform::SetTimeouts(TPortHandle handle, const TCommTimeouts &timeouts)
{
    LastTimeouts = timeouts;
    return RecordOn(handle, QStringLiteral("SetTimeouts"));
}

TSerialStatus TFakeSerialPlatform::EscapeFunction(TPortHandle handle, int code)
{
    const TSerialStatus status = RecordOn(handle, QStringLiteral("Escape"), QString::number(code));
    if (status == TSerialStatus::Ok) {
        if (code == SerialEscape::kSetDtr || code == SerialEscape::kClrDtr)
            Dtr = code == SerialEscape::kSetDtr;
        else
            Rts = code == SerialEscape::kSetRts;
    }
    return status;
}

TSerialStatus TFakeSerialPlatform::ModemInputs(TPortHandle handle, TModemInputs &lines)
{
    const std::lock_guard lock(m_linesLock);
    if (!IsOpenHandle(handle) || !m_inputs)
        return TSerialStatus::Failed;
    lines = *m_inputs;
    return TSerialStatus::Ok;
}

TSerialStatus TFakeSerialPlatform::WaitModemChange(TPortHandle handle)
{
    {
        const std::lock_guard lock(m_linesLock);
        if (!IsOpenHandle(handle))
            return TSerialStatus::Failed;
    }
    if (const TSerialStatus failure = WaitFailure; failure != TSerialStatus::Ok)
        return failure;
    ++Waiters;
    pollfd entry{m_lineChange, POLLIN, 0};
    const int ready = ::poll(&entry, 1, -1);
    const int error = errno;
    --Waiters;
    if (ready < 0)
        return error == EINTR ? TSerialStatus::WouldBlock : TSerialStatus::Failed;
    eventfd_t count = 0;
    ::eventfd_read(m_lineChange, &count);
    return TSerialStatus::Ok;
}

void TFakeSerialPlatform::SetInputs(std::optional<TModemInputs> inputs)
{
    {
        const std::lock_guard lock(m_linesLock);
        m_inputs = inputs;
    }
    ::eventfd_write(m_lineChange, 1);
}

TSerialStatus TFakeSerialPlatform::SetBreak(TPortHandle handle, bool on)
{
    const TSerialStatus status = RecordOn(handle, QStringLiteral("SetBreak"), QString::number(on));
    if (status == TSerialStatus::Ok)
        Break = on;
    return status;
}

TSerialCount TFakeSerialPlatform::Read(TPortHandle handle, void *buffer, std::int32_t maxCount)
{
    const TSerialStatus status = RecordOn(handle, QStringLiteral("Read"), QString::number(maxCount));
    if (status != TSerialStatus::Ok)
        return {0, status};
    const auto count = static_cast<std::int32_t>(std::min<qsizetype>(maxCount, Incoming.size()));
    if (count == 0)
        return {0, TSerialStatus::WouldBlock};
    std::memcpy(buffer, Incoming.constData(), static_cast<size_t>(count));
    Incoming.remove(0, count);
    return {count, TSerialStatus::Ok};
}

TSerialCount TFakeSerialPlatform::Write(TPortHandle handle, const void *data, std::int32_t count)
{
    const TSerialStatus status = RecordOn(handle, QStringLiteral("Write"), QString::number(count));
    if (status != TSerialStatus::Ok)
        return {0, status};
    const std::int32_t limit = !WriteLimits.isEmpty() ? WriteLimits.dequeue() : StallAfterLimits ? 0 : count;
    const std::int32_t taken = std::min(count, limit);
    Written.append(static_cast<const char *>(data), taken);
    return {taken, taken == 0 ? TSerialStatus::WouldBlock : TSerialStatus::Ok};
}

TSerialCount TFakeSerialPlatform::OutputQueueCount(TPortHandle handle)
{
    const TSerialStatus status = RecordOn(handle, QStringLiteral("OutputQueueCount"));
    return {status == TSerialStatus::Ok ? QueuedOutput : 0, status};
}

int TFakeSerialPlatform::ReadinessDescriptor(TPortHandle)
{
    Record(QStringLiteral("ReadinessDescriptor"));
    return -1;
}

void TFakeSerialPlatform::WaitWritable(TPortHandle, int timeoutMs)
{
    Record(QStringLiteral("WaitWritable"), QString::number(timeoutMs));
    Clock += static_cast<std::uint32_t>(timeoutMs);
}

void TFakeSerialPlatform::Sleep(int milliseconds)
{
    Record(QStringLiteral("Sleep"), QString::number(milliseconds));
    Clock += static_cast<std::uint32_t>(milliseconds);
}

std::uint32_t TFakeSerialPlatform::TickCount()
{
    return Clock;
}
