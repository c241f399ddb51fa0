#include "localclock.h"

QByteArray TLocalClock::DateText()
{
    return Format("%x", std::time(nullptr));
}

QByteArray TLocalClock::TimeText()
{
    const std::time_t now = std::time(nullptr);
    if (now != m_timeSecond) {
        m_time = Format("%X", now);
        m_timeSecond = now;
    }
    return m_time;
}

QByteArray TLocalClock::Format(const char *format, std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char text[64];
    const std::size_t size = std::strftime(text, sizeof text, format, &local);
    return QByteArray(text, qsizetype(size));
}
