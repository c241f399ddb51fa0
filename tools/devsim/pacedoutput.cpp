#include "pacedoutput.h"

#include "ptydevice.h"

TPacedOutput::TPacedOutput(TPtyDevice &device, std::int64_t baud, QObject *parent)
    : QObject(parent)
    , m_device(device)
{
    if (baud <= 0)
        return;
    m_pace.emplace(baud, TPtyDevice::kMaxPending);
    m_clock.start();
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TPacedOutput::Deliver);
}

qsizetype TPacedOutput::Send(const QByteArray &bytes)
{
    if (!m_pace)
        return m_device.Send(bytes);
    const qsizetype kept = m_pace->Queue(bytes, m_clock.nsecsElapsed());
    if (!m_timer.isActive())
        Deliver();
    return kept;
}

qsizetype TPacedOutput::Pending() const
{
    return m_device.Pending() + (m_pace ? m_pace->Queued() : 0);
}

void TPacedOutput::Deliver()
{
    const std::int64_t now = m_clock.nsecsElapsed();
    m_device.Send(m_pace->Take(now));
    const std::int64_t next = m_pace->NextArrivalNs();
    if (next >= 0)
        m_timer.start(int((next - now + 999'999) / 1'000'000));
}
