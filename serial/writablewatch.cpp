#include "writablewatch.h"

TWritableWatch::TWritableWatch(std::function<void()> onWritable, QObject *parent)
    : QObject(parent)
    , m_onWritable(std::move(onWritable))
    , m_notifier(QSocketNotifier::Write)
{
    m_notifier.setEnabled(false);
    m_recheck.setSingleShot(true);
    connect(&m_recheck, &QTimer::timeout, this, &TWritableWatch::Fire);
    connect(&m_notifier, &QSocketNotifier::activated, this, &TWritableWatch::Fire);
}

void TWritableWatch::Start(int descriptor)
{
    Stop();
    if (descriptor >= 0) {
        m_notifier.setSocket(descriptor);
        m_notifier.setEnabled(true);
    }
    m_recheck.start(kRecheckMs);
}

void TWritableWatch::FireSoon()
{
    Stop();
    m_recheck.start(0);
}

void TWritableWatch::Stop()
{
    m_recheck.stop();
    m_notifier.setEnabled(false);
}

bool TWritableWatch::IsRunning() const
{
    return m_recheck.isActive();
}

void TWritableWatch::Fire()
{
    Stop();
    m_onWritable();
}
