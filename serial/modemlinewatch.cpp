#include "modemlinewatch.h"

#include <utility>

TModemLineWatch::TModemLineWatch(std::function<std::optional<TModemInputs>()> read,
                                 std::function<TModemLinePort()> port, QObject *parent)
    : QObject(parent)
    , m_read(std::move(read))
    , m_port(std::move(port))
{
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { Read(false); });
}

TModemLineWatch::~TModemLineWatch()
{
    Stop();
}

void TModemLineWatch::Start()
{
    Stop();
    m_running = true;
    ++m_session;
    Read(true);
    if (!m_running)
        return;
    const TModemLinePort port = m_port ? m_port() : TModemLinePort{};
    if (!port.Platform || port.Handle == kInvalidPortHandle) {
        m_timer.start();
        return;
    }
    m_waiter.Start([this, port, session = m_session](const std::atomic<bool> &stop) { Follow(port, session, stop); });
}

void TModemLineWatch::Stop()
{
    m_running = false;
    m_timer.stop();
    m_waiter.Stop();
}

void TModemLineWatch::Read(bool report)
{
    const std::optional<TModemInputs> lines = m_read();
    // The read may have ended the watch: a device lost there closes its port.
    if (!m_running)
        return;
    if (!lines)
        Stop();
    Report(lines, report);
}

void TModemLineWatch::Report(std::optional<TModemInputs> lines, bool report)
{
    if (!report && lines == m_last)
        return;
    m_last = lines;
    if (OnChange)
        OnChange(lines);
}

// Some UARTs wake the wait only at the trailing edge of RI, so every wake-up reads all four lines
// afresh. Whatever happens between two wake-ups shows as one change: a ring that starts and ends
// in between (on those UARTs, every ring) leaves RI as it found it.
void TModemLineWatch::Follow(TModemLinePort port, unsigned session, const std::atomic<bool> &stop)
{
    while (!stop) {
        const TSerialStatus waited = port.Platform->WaitModemChange(port.Handle);
        if (stop)
            return;
        if (waited == TSerialStatus::WouldBlock)
            continue;
        TModemInputs lines;
        if (waited != TSerialStatus::Ok || port.Platform->ModemInputs(port.Handle, lines) != TSerialStatus::Ok) {
            // The timer's read, through the owner, also notices a device that has gone.
            Post(session, [this] { PollInstead(); });
            return;
        }
        Post(session, [this, lines] { Report(lines, false); });
    }
}

void TModemLineWatch::Post(unsigned session, std::function<void()> action)
{
    QMetaObject::invokeMethod(this, [this, session, action = std::move(action)] {
        if (m_running && session == m_session)
            action();
    }, Qt::QueuedConnection);
}

void TModemLineWatch::PollInstead()
{
    m_waiter.Stop();
    m_timer.start();
    Read(false);
}
