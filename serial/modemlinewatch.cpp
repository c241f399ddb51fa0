#include "modemlinewatch.h"

#include <utility>

TModemLineWatch::TModemLineWatch(std::function<std::optional<TModemInputs>()> read, QObject *parent)
    : QObject(parent)
    , m_read(std::move(read))
{
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { Read(false); });
}

void TModemLineWatch::Start()
{
    m_timer.start();
    Read(true);
}

void TModemLineWatch::Stop()
{
    m_timer.stop();
}

void TModemLineWatch::Read(bool report)
{
    const std::optional<TModemInputs> lines = m_read();
    // The read may have ended the watch: a device lost there closes its port.
    if (!m_timer.isActive())
        return;
    if (!lines)
        m_timer.stop();
    if (!report && lines == m_last)
        return;
    m_last = lines;
    if (OnChange)
        OnChange(lines);
}
