#include "readpacing.h"

#include <algorithm>

namespace {

constexpr qint64 kNsPerMs = 1'000'000;

} // namespace

void TReadPacing::Count(int bytes)
{
    if (bytes > 0)
        m_bytes += bytes;
}

int TReadPacing::HoldOffAfterDrain(qint64 nowNs, bool backlog)
{
    if (m_windowStartNs < 0)
        m_windowStartNs = nowNs;
    if (backlog)
        return 0;
    const qint64 elapsedNs = nowNs - m_windowStartNs;
    if (m_flooding && elapsedNs < kMaxHoldOffMs * kNsPerMs)
        return 0;
    const double bytes = double(m_bytes);
    StartWindow(nowNs);
    if (!m_flooding && bytes >= double(kFullQueueBytes)) {
        m_flooding = true;
        return 0;
    }
    // A clock that did not move gives no rate: the bytes came at once.
    if (elapsedNs <= 0 || bytes <= 0) {
        m_flooding = false;
        return kMaxHoldOffMs;
    }
    const double bytesPerMs = bytes * double(kNsPerMs) / double(elapsedNs);
    m_flooding = bytesPerMs * 1000 >= double(kFloodBytesPerSecond);
    if (m_flooding)
        return 0;
    return int(std::min(double(kMaxHoldOffMs), double(kMaxPiledBytes) / bytesPerMs));
}

void TReadPacing::Reset()
{
    m_bytes = 0;
    m_windowStartNs = -1;
    m_flooding = false;
}

void TReadPacing::StartWindow(qint64 nowNs)
{
    m_bytes = 0;
    m_windowStartNs = nowNs;
}
