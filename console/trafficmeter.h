#pragma once

#include <QString>

#include <cstdint>

// The bytes received and sent since the connect and how fast they come, as the status bar shows
// them: "RX 1.2 MB · 11.5 kB/s   TX 3 kB". The rate is that of the last interval between samples.
class TTrafficMeter
{
public:
    void Reset(std::int64_t nowMs);
    // The totals since the connect, at nowMs.
    void Sample(std::uint64_t received, std::uint64_t sent, std::int64_t nowMs);
    QString Text() const;

    // "512 B", "3 kB", "11.5 kB", "1.2 MB": decimal units, one decimal below 100.
    static QString Amount(double bytes);

private:
    struct TDirection
    {
        std::uint64_t Total = 0;
        double Rate = 0;   // bytes per second
        QString Text(const char *name) const;
    };
    static void Update(TDirection &direction, std::uint64_t total, double seconds);

    TDirection m_received;
    TDirection m_sent;
    std::int64_t m_lastMs = 0;
};
