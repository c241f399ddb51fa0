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
    connect(&m_holdOff, &QTimer::timeout, this, [this] { m_notifier.setEnabled(true); });
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
    const unsigned generation = m_generation;
    TRead read;
    for (int reads = 0; reads < kMaxReadsPerWake; ++reads) {
        read = m_onPoll();
        if (generation != m_generation)
            return;
        m_pacing.Count(read.bytes);
        if (!read.more)
            break;
    }
    const int holdOffMs = read.more ? 0 : m_pacing.HoldOffAfterDrain(m_clock.nsecsElapsed());
    if (holdOffMs == 0)
        m_notifier.setEnabled(true);
    else
        m_holdOff.start(holdOffMs);
}
