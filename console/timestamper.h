#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

class TClock;

// The forms a time stamp can take: the regional long time, "hh:mm:ss.zzz", or "+Δ ms" since the
// stamp before.
enum class TStampFormat { Regional, Milliseconds, Delta };

// Makes time stamps for one stream of stamps (the receive box, the log), which each count their
// own time between stamps. The first of a run of stamps in the Delta form reads "+0 ms".
class TTimeStamper
{
public:
    explicit TTimeStamper(TClock &clock);

    QByteArray Text(TStampFormat format);
    // The Delta form for a stamp taken at atMs on the steady clock.
    QByteArray DeltaText(std::int64_t atMs);
    // The next stamp is the first one again.
    void Restart() { m_previousMs.reset(); }

private:
    TClock &m_clock;
    std::optional<std::int64_t> m_previousMs;
};
