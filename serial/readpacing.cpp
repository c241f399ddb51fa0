#include "readpacing.h"

void TReadPacing::Count(int bytes)
{
    if (bytes > 0)
        m_bytes += bytes;
}

int TReadPacing::HoldOffAfterDrain(qint64 nowNs)
{
    const qint64 bytes = m_bytes;
    const qint64 elapsedNs = m_lastDrainNs < 0 ? 0 : nowNs - m_lastDrainNs;
    m_bytes = 0;
    m_lastDrainNs = nowNs;
    // A first drain has no rate yet; a clock that did not move means the bytes came at once.
    if (elapsedNs <= 0)
        return bytes >= kMaxPiledBytes ? 0 : kHoldOffMs;
    const bool flooding = double(bytes) * 1e9 / double(elapsedNs) >= double(kFloodBytesPerSecond);
    return flooding ? 0 : kHoldOffMs;
}

void TReadPacing::Reset()
{
    m_bytes = 0;
    m_lastDrainNs = -1;
}
