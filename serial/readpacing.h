#pragma once

#include <QtGlobal>

// Decides how long to leave a port alone after a read that emptied it. A slow line is read about
// once a frame, each read collecting what arrived meanwhile; a faster one so often that no more
// than a modest amount piles up in the kernel meanwhile; a flood again at once.
//
// A pause at flood speed fills the kernel's queue, which hides the line's real rate: a full
// queue, not the rate seen over the pause, is what tells a flood then. While flooding, the rate
// is judged over whole frames, since the kernel hands a flood over in small pieces.
class TReadPacing
{
public:
    static constexpr int kMaxHoldOffMs = 20;
    // What may pile up during a pause: a pseudo-terminal holds about 20 KiB, a serial tty's
    // line discipline 4 KiB ahead of its larger flip buffers.
    static constexpr qint64 kMaxPiledBytes = 16 * 1024;
    // More than this since the last pause means the queue filled up.
    static constexpr qint64 kFullQueueBytes = 18 * 1024;
    // From this rate on the port is read again at once: pausing would save few wake-ups, and a
    // flood must not wait on a timer.
    static constexpr qint64 kFloodBytesPerSecond = 2'000'000;

    // Bytes taken by one read.
    void Count(int bytes);
    // The port is empty now (monotonic nanoseconds); returns the pause in milliseconds, 0 for
    // none. backlog: this wake-up's first read filled the buffer, so what piled up during the
    // pause is still being read and no judgement is made yet.
    int HoldOffAfterDrain(qint64 nowNs, bool backlog);
    void Reset();

private:
    void StartWindow(qint64 nowNs);

    qint64 m_bytes = 0;
    qint64 m_windowStartNs = -1;
    bool m_flooding = false;
};
