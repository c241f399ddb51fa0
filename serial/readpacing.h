#pragma once

#include <QtGlobal>

// Decides how long to leave a port alone after a read that emptied it. A slow or bursty line is
// read a bounded number of times a second, each read collecting what arrived meanwhile; a line
// fast enough to fill the kernel's queue during such a pause is read again at once.
class TReadPacing
{
public:
    static constexpr int kHoldOffMs = 8;
    // The pause must not let more than this pile up in the kernel: a pseudo-terminal holds about
    // 20 KiB, a serial tty's line discipline 4 KiB ahead of its larger flip buffers.
    static constexpr qint64 kMaxPiledBytes = 16 * 1024;
    static constexpr qint64 kFloodBytesPerSecond = kMaxPiledBytes * 1000 / kHoldOffMs;

    // Bytes taken by one read.
    void Count(int bytes);
    // The port is empty now (monotonic nanoseconds); returns the pause in milliseconds, 0 for
    // none. The rate is judged over the bytes read since the previous drain.
    int HoldOffAfterDrain(qint64 nowNs);
    void Reset();

private:
    qint64 m_bytes = 0;
    qint64 m_lastDrainNs = -1;
};
