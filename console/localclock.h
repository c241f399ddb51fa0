#pragma once

#include <QByteArray>

#include <ctime>

// Today's date and the time of day as the user's locale writes them (short date, long time).
class TClock
{
public:
    virtual ~TClock() = default;
    virtual QByteArray DateText() = 0;
    virtual QByteArray TimeText() = 0;
};

// Reads the system clock at every call; formats through the C library (%x, %X) after Qt has set
// the locale. Formatting is redone only when the second changes, as a stamp per line at full
// speed would otherwise spend most of its time in the time-zone code.
class TLocalClock : public TClock
{
public:
    QByteArray DateText() override;
    QByteArray TimeText() override;

private:
    static QByteArray Format(const char *format, std::time_t when);

    std::time_t m_timeSecond = -1;
    QByteArray m_time;
};
