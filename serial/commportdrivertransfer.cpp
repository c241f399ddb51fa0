// The data path of TCommPortDriver: polling, sending, purging and the modem lines.
#include "commportdriver.h"

#include "writablewatch.h"

#include <algorithm>
#include <limits>

namespace {

// How long one wait for room in the output queue lasts before the queue is asked again.
constexpr int kWaitStepMs = 2;

} // namespace

TPollScheduler::TRead TCommPortDriver::Poll()
{
    if (!IsOpen())
        return {};
    const TSerialCount read = m_platform.Read(m_handle, m_receiveBuffer.get(), m_inBufSize);
    if (Lost(read.Status) || read.Status != TSerialStatus::Ok || read.Count <= 0)
        return {};
    const std::int32_t size = std::min<std::int32_t>(read.Count, m_inBufSize);
    m_bytesReceived += std::uint64_t(size);
    if (OnReceiveData)
        OnReceiveData(this, m_receiveBuffer.get(), size);
    return {size, size == m_inBufSize};
}

void TCommPortDriver::PurgeBuffers(bool input, bool output)
{
    if (!IsOpen())
        return;
    std::uint32_t bits = 0;
    if (input)
        bits |= SerialPurge::kRxAbort | SerialPurge::kRxClear;
    if (output)
        bits |= SerialPurge::kTxAbort | SerialPurge::kTxClear;
    Lost(m_platform.Purge(m_handle, bits));
}

std::int16_t TCommPortDriver::OutputFreeSpace()
{
    if (!IsOpen())
        return -1;
    const TSerialCount queued = m_platform.OutputQueueCount(m_handle);
    if (Lost(queued.Status))
        return -1;
    // Without a count, assume an empty queue: the write call then says how much room there is.
    const auto waiting = static_cast<std::uint16_t>(queued.Status == TSerialStatus::Ok ? queued.Count : 0);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(m_outBufSize - waiting));
}

std::int32_t TCommPortDriver::WriteBytes(const void *data, std::int32_t count)
{
    if (!IsOpen() || count <= 0)
        return 0;
    const auto *bytes = static_cast<const std::uint8_t *>(data);
    std::int32_t sent = 0;
    std::uint32_t lastProgress = m_platform.TickCount();
    while (count > 0) {
        const auto room = static_cast<std::uint16_t>(OutputFreeSpace());
        if (!IsOpen())
            return -sent;
        TSerialStatus waitReason = TSerialStatus::Ok;
        if (room != 0) {
            const TSerialCount written = m_platform.Write(m_handle, bytes + sent, count);
            if (Lost(written.Status))
                return -sent;
            if (written.Count > 0) {
                const std::int32_t taken = std::min(written.Count, count);
                CountSent(taken);
                sent += taken;
                count -= taken;
                lastProgress = m_platform.TickCount();
                continue;
            }
            waitReason = written.Status;
        }
        // Unsigned subtraction keeps the elapsed time right across the tick counter's wrap.
        if (m_platform.TickCount() - lastProgress > m_outputTimeout)
            return -sent;
        WaitForRoom(waitReason);
    }
    return sent;
}

std::int32_t TCommPortDriver::WriteAvailable(const void *data, std::int32_t count)
{
    m_outputRefused = false;
    if (!IsOpen() || count <= 0)
        return 0;
    // Unlike WriteBytes, a queue beyond the driver's output size has no room: the line is behind.
    const std::int16_t room = OutputFreeSpace();
    if (room <= 0)
        return 0;
    const TSerialCount written = m_platform.Write(m_handle, data, std::min<std::int32_t>(count, room));
    if (Lost(written.Status))
        return 0;
    m_outputRefused = written.Status == TSerialStatus::WouldBlock;
    const std::int32_t taken = std::clamp<std::int32_t>(written.Count, 0, count);
    CountSent(taken);
    return taken;
}

void TCommPortDriver::NotifyOutputReady()
{
    if (!IsOpen())
        return m_outputWatch->FireSoon();
    // A full queue count or a failed call would make the descriptor look writable at once.
    m_outputWatch->Start(m_outputRefused ? m_platform.ReadinessDescriptor(m_handle) : -1);
}

void TCommPortDriver::CancelOutputReady()
{
    m_outputWatch->Stop();
}

void TCommPortDriver::WaitForRoom(TSerialStatus lastWrite)
{
    // Only a write refused for lack of room is worth waiting on the descriptor for; a full queue
    // count or a failed call would make the descriptor look writable at once.
    if (lastWrite == TSerialStatus::WouldBlock)
        m_platform.WaitWritable(m_handle, kWaitStepMs);
    else
        m_platform.Sleep(kWaitStepMs);
}

bool TCommPortDriver::WriteText(const QByteArray &text)
{
    if (text.size() > std::numeric_limits<std::int32_t>::max())
        return false;
    const auto size = static_cast<std::int32_t>(text.size());
    return WriteBytes(text.constData(), size) == size;
}

void TCommPortDriver::SetDTR(bool on)
{
    if (IsOpen() && !Lost(m_platform.EscapeFunction(m_handle, on ? SerialEscape::kSetDtr : SerialEscape::kClrDtr)))
        m_dtrLevel = on;
}

void TCommPortDriver::SetRTS(bool on)
{
    if (IsOpen() && !Lost(m_platform.EscapeFunction(m_handle, on ? SerialEscape::kSetRts : SerialEscape::kClrRts)))
        m_rtsLevel = on && m_hwHandshaking != hhRTSCTS;
}
