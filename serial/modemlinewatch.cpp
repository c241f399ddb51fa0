#include "modemlinewatch.h"

#include <utility>

TModemLineWatch::TModemLineWatch(std::function<std::optional<TModemInputs>()> read, QObject *parent)
    : QObject(parent)
    , m_read(std::move(read))
{
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TModemLineWatch::Read);
}

void TModemLineWatch::Start()
{
    m_last.reset();
    m_timer.start();
    const std::optional<TModemInputs> lines = m_read();
    if (!lines)
        m_timer.stop();
    m_last = lines;
    if (OnChange)
        OnChange(lines);
}

void TModemLineWatch::Stop()
{
    m_timer.stop();
}

void TModemLineWatch::Read()
{
    const std::optional<TModemInputs> lines = m_read();
    if (!lines)
        m_timer.stop();
    if (lines == m_last)
        return;
    m_last = lines;
    if (OnChange)
        OnChange(lines);
}
