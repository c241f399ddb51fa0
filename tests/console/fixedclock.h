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

    QByteArray Date = "07.12.2026";
    QByteArray Time = "14:05:09";
    int TimeReads = 0;
};
