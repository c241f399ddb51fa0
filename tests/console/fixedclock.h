#pragma once

#include "localclock.h"

// A clock that shows what the test sets, and counts how often the time was read.
class TFixedClock : public TClock
{
public:
    QByteArray DateText() override { return Date; }
    QByteArray TimeText() override
    {
        ++TimeReads;
        return Time;
    }
    QByteArray MillisecondTimeText() override { return MsTime; }
    std::int64_t SteadyMs() override { return Ms; }

    QByteArray Date = "07.12.2026";
    QByteArray Time = "14:05:09";
    QByteArray MsTime = "14:05:09.042";
    std::int64_t Ms = 0;
    int TimeReads = 0;
};
