#include "trafficmeter.h"

#include <array>
#include <cmath>

void TTrafficMeter::Reset(std::int64_t nowMs)
{
    m_received = {};
    m_sent = {};
    m_lastMs = nowMs;
}

void TTrafficMeter::Sample(std::uint64_t received, std::uint64_t sent, std::int64_t nowMs)
{
    const double seconds = double(nowMs - m_lastMs) / 1000.0;
    if (seconds <= 0)
        return;
    Update(m_received, received, seconds);
    Update(m_sent, sent, seconds);
    m_lastMs = nowMs;
}

void TTrafficMeter::Update(TDirection &direction, std::uint64_t total, double seconds)
{
    direction.Rate = total >= direction.Total ? double(total - direction.Total) / seconds : 0;
    direction.Total = total;
}

QString TTrafficMeter::Text() const
{
    return m_received.Text("RX") + QStringLiteral("   ") + m_sent.Text("TX");
}

QString TTrafficMeter::TDirection::Text(const char *name) const
{
    QString text = QString::fromLatin1(name) + u' ' + Amount(double(Total));
    if (Rate > 0)
        text += QStringLiteral(" · ") + Amount(Rate) + QStringLiteral("/s");
    return text;
}

QString TTrafficMeter::Amount(double bytes)
{
    static constexpr std::array kUnits{"B", "kB", "MB", "GB", "TB"};
    std::size_t unit = 0;
    // Rounded as shown: 999.96 kB reads 1 MB, not 1000 kB.
    while (unit + 1 < kUnits.size() && bytes >= (unit == 0 ? 999.5 : 999.95)) {
        bytes /= 1000;
        ++unit;
    }
    QString number = unit == 0 || bytes >= 99.95 ? QString::number(std::llround(bytes))
                                                  : QString::number(bytes, 'f', 1);
    if (number.endsWith(QStringLiteral(".0")))
        number.chop(2);
    return number + u' ' + QString::fromLatin1(kUnits[unit]);
}
