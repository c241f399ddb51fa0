#include "linepace.h"

#include <algorithm>

namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;
// baud bytes take exactly this long, whatever the rate.
constexpr std::int64_t kStepNs = TLinePace::kBitsPerByte * kNsPerSecond;

} // namespace

TLinePace::TLinePace(std::int64_t baud, qsizetype maxQueued)
    : m_baud(std::clamp<std::int64_t>(baud, 1, kMaxBaud))
    , m_maxQueued(maxQueued)
{
}

qsizetype TLinePace::Queue(const QByteArray &bytes, std::int64_t nowNs)
{
    const qsizetype kept = std::min(bytes.size(), m_maxQueued - Queued());
    if (kept <= 0)
        return 0;
    if (Queued() == 0) {
        m_queue.clear();
        m_taken = 0;
        m_startNs = nowNs;
        m_arrived = 0;
    }
    m_queue.append(bytes.constData(), kept);
    return kept;
}

QByteArray TLinePace::Take(std::int64_t nowNs)
{
    const qsizetype due = qsizetype(std::min<std::int64_t>(ArrivedBy(nowNs) - m_arrived, Queued()));
    if (due <= 0)
        return {};
    const QByteArray bytes = m_queue.mid(m_taken, due);
    m_taken += due;
    m_arrived += due;
    if (m_arrived >= m_baud) {
        m_startNs += kStepNs * (m_arrived / m_baud);
        m_arrived %= m_baud;
    }
    if (m_taken >= m_maxQueued) {
        m_queue.remove(0, m_taken);
        m_taken = 0;
    }
    return bytes;
}

std::int64_t TLinePace::NextArrivalNs() const
{
    if (Queued() == 0)
        return -1;
    // The first whole nanosecond by which byte number m_arrived (counting from 0) is done.
    return m_startNs + ((m_arrived + 1) * kStepNs + m_baud - 1) / m_baud;
}

std::int64_t TLinePace::ArrivedBy(std::int64_t nowNs) const
{
    if (nowNs <= m_startNs)
        return 0;
    // A board stopped for a long while must not overflow here.
    const __int128 arrived = __int128(nowNs - m_startNs) * m_baud / kStepNs;
    return std::int64_t(std::min<__int128>(arrived, m_arrived + Queued()));
}
