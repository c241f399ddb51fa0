#include "timestamper.h"

#include "localclock.h"

#include <algorithm>

TTimeStamper::TTimeStamper(TClock &clock)
    : m_clock(clock)
{
}

// Only the Delta form reads the steady clock: the other forms cost what they did without it. A
// change to Delta starts counting afresh.
QByteArray TTimeStamper::Text(TStampFormat format)
{
    if (format != TStampFormat::Delta) {
        m_previousMs.reset();
        return format == TStampFormat::Milliseconds ? m_clock.MillisecondTimeText() : m_clock.TimeText();
    }
    return DeltaText(m_clock.SteadyMs());
}

QByteArray TTimeStamper::DeltaText(std::int64_t atMs)
{
    const std::int64_t since = std::max<std::int64_t>(0, atMs - m_previousMs.value_or(atMs));
    m_previousMs = atMs;
    return '+' + QByteArray::number(since) + " ms";
}
