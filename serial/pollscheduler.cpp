#include "pollscheduler.h"

TPollScheduler::TPollScheduler(std::function<void()> onPoll, QObject *parent)
    : QObject(parent)
    , m_onPoll(std::move(onPoll))
    , m_notifier(QSocketNotifier::Read)
{
    m_notifier.setEnabled(false);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_onPoll(); });
    connect(&m_notifier, &QSocketNotifier::activated, this, [this] { m_onPoll(); });
}

void TPollScheduler::Start(int intervalMs, int descriptor)
{
    Stop();
    if (intervalMs == 0 && descriptor >= 0) {
        m_notifier.setSocket(descriptor);
        m_notifier.setEnabled(true);
        return;
    }
    m_timer.start(intervalMs > 0 ? intervalMs : kFallbackIntervalMs);
}

void TPollScheduler::Stop()
{
    m_timer.stop();
    m_notifier.setEnabled(false);
}

bool TPollScheduler::IsRunning() const
{
    return m_timer.isActive() || m_notifier.isEnabled();
}
