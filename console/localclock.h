#pragma once

#include <QByteArray>

#include <cstdint>
#include <ctime>

// Today's date and the time of day as the user's locale writes them (short date, long time).
class TClock
{
public:
    virtual ~TClock() = default;
    virtual QByteArray DateText() = 0;
    virtual QByteArray TimeText() = 0;
    // The time of day as "hh:mm:ss.zzz", 24 hours, whatever the locale.
    virtual QByteArray MillisecondTimeText() = 0;
    // Milliseconds on a clock that never goes back, for the time between two stamps.
    virtual std::int64_t SteadyMs() = 0;
};

// Reads the system clock at every call; formats through the C library (%x, %X) after Qt has set
// the locale. Formatting is redone only when the second changes, as a stamp per line at full
// speed would otherwise spend most of its time in the time-zone code.
class TLocalClock : public TClock
{
public:
    QByteArray DateText() override;
    QByteArray TimeText() override;
    QByteArray MillisecondTimeText() override;
    std::int64_t SteadyMs() override;

private:
    static QByteArray Format(const char *format, std::time_t when);

    std::time_t m_timeSecond = -1;
    QByteArray m_time;
    std::time_t m_msSecond = -1;
    QByteArray m_msTime;
};

// A clock that reads another: the local clock unless one is set (a test's).
class TSwitchableClock : public TClock
{
public:
    // clock: not owned; nullptr goes back to the local clock.
    void SetSource(TClock *clock) { m_source = clock ? clock : &m_local; }

    QByteArray DateText() override { return m_source->DateText(); }
    QByteArray TimeText() override { return m_source->TimeText(); }
    QByteArray MillisecondTimeText() override { return m_source->MillisecondTimeText(); }
    std::int64_t SteadyMs() override { return m_source->SteadyMs(); }

private:
    TLocalClock m_local;
    TClock *m_source = &m_local;
};
