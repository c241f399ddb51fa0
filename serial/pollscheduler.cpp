#include "pollscheduler.h"

TPollScheduler::TPollScheduler(std::function<TRead()> onPoll, QObject *parent)
    : QObject(parent)
    , m_onPoll(std::move(onPoll))
    , m_notifier(QSocketNotifier::Read)
{
    m_notifier.setEnabled(false);
    m_holdOff.setSingleShot(true);
    m_clock.start();
    connect(&m_timer, &QTimer::timeout, this, [this] { m_onPoll(); });
    connect(&m_notifier, &QSocketNotifier::activated, this, &TPollScheduler::OnReadable);
    connect(&m_holdOff, &QTimer::timeout, this, [this] { ReadAfterHoldOff(); });
}

void TPollScheduler::Start(int intervalMs, int descriptor)
{
    Stop();
    if (intervalMs == 0 && descriptor >= 0) {
        m_notifier.setSocket(descriptor);
        m_notifier.setEnabled(true);
        m_watching = true;
        return;
    }
    m_timer.start(intervalMs > 0 ? intervalMs : kFallbackIntervalMs);
}

void TPollScheduler::Stop()
{
    ++m_generation;
    m_watching = false;
    m_timer.stop();
    m_holdOff.stop();
    m_notifier.setEnabled(false);
    m_pacing.Reset();
}

bool TPollScheduler::IsRunning() const
{
    return m_timer.isActive() || m_watching;
}

void TPollScheduler::OnReadable()
{
    m_notifier.setEnabled(false);
    // Readiness without bytes (a condition the read does not clear) must not spin.
    if (!ReadBurst())
        m_holdOff.start(TReadPacing::kMaxHoldOffMs);
}

// At the end of a pause bytes are usually waiting: reading them at once saves the program a
// second trip through the event loop. A port still empty is watched again, so silence costs
// nothing.
void TPollScheduler::ReadAfterHoldOff()
{
    if (!ReadBurst())
        m_notifier.setEnabled(true);
}

bool TPollScheduler::ReadBurst()
{
    const unsigned generation = m_generation;
    TRead read;
    qint64 total = 0;
    bool backlog = false;
    for (int reads = 0; reads < kMaxReadsPerWake; ++reads) {
        read = m_onPoll();
        if (generation != m_generation)
            return true;
        m_pacing.Count(read.bytes);
        total += read.bytes;
        backlog = backlog || (reads == 0 && read.more);
        if (!read.more)
            break;
    }
    if (total == 0)
        return false;
    const int holdOffMs = read.more ? 0 : m_pacing.HoldOffAfterDrain(m_clock.nsecsElapsed(), backlog);
    if (holdOffMs == 0)
        m_notifier.setEnabled(true);
    else
        m_holdOff.start(holdOffMs);
    return true;
}
