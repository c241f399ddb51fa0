// The modem input lines, the break and the traffic counts of TCommPortDriver.
#include "commportdriver.h"

#include <QTimer>

#include <utility>

bool TCommPortDriver::ReadModemInputs(TModemInputs &lines)
{
    if (!IsOpen())
        return false;
    const TSerialStatus status = m_platform.ModemInputs(m_handle, lines);
    return !Lost(status) && status == TSerialStatus::Ok;
}

TModemLinePort TCommPortDriver::ModemLinePort() const
{
    return {&m_platform, m_handle};
}

// The kernel starts a break only once the output queue has drained, and waits for that on the
// caller's thread, for ever on a line that flow control holds: no break while bytes wait.
bool TCommPortDriver::CanSendBreak()
{
    if (!IsOpen() || m_breaking)
        return false;
    const TSerialCount queued = m_platform.OutputQueueCount(m_handle);
    return !Lost(queued.Status) && !(queued.Status == TSerialStatus::Ok && queued.Count > 0);
}

bool TCommPortDriver::SendBreak(int milliseconds)
{
    if (!CanSendBreak() || Lost(m_platform.SetBreak(m_handle, true)))
        return false;
    m_breaking = true;
    m_breakTimer->start(milliseconds);
    return true;
}

bool TCommPortDriver::Breaking() const
{
    return m_breaking;
}

void TCommPortDriver::EndBreak()
{
    m_breakTimer->stop();
    if (!std::exchange(m_breaking, false))
        return;
    // Closing is under way when the port goes; a lost device ends the break by itself.
    if (IsOpen())
        m_platform.SetBreak(m_handle, false);
}

void TCommPortDriver::CountSent(std::int32_t count)
{
    m_bytesSent += std::uint64_t(count);
}
