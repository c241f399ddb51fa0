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

QByteArray TLocalClock::MillisecondTimeText()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (now.tv_sec != m_msSecond) {
        m_msTime = Format("%H:%M:%S.000", now.tv_sec);
        m_msSecond = now.tv_sec;
    }
    const int ms = int(now.tv_nsec / 1000000);
    char *digits = m_msTime.data() + m_msTime.size() - 3;
    digits[0] = char('0' + ms / 100);
    digits[1] = char('0' + ms / 10 % 10);
    digits[2] = char('0' + ms % 10);
    return m_msTime;
}

std::int64_t TLocalClock::SteadyMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

QByteArray TLocalClock::Format(const char *format, std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    char text[64];
    const std::size_t size = std::strftime(text, sizeof text, format, &local);
    return QByteArray(text, qsizetype(size));
}
