#pragma once

#include <QByteArray>

#include <cstdint>

// The pace of a serial line: a byte takes ten bit times on the wire (start bit, eight data bits,
// stop bit) and has arrived when its stop bit is done. A byte queued while the line is idle
// starts at once; one queued while it is busy follows the bytes before it. Times are in
// nanoseconds on any steady clock.
class TLinePace
{
public:
    static constexpr int kBitsPerByte = 10;
    static constexpr std::int64_t kMaxBaud = 4'000'000;

    // baud: 1 to kMaxBaud. maxQueued: the bytes the sender can hold back; more are dropped, as a
    // board whose transmit buffer is full loses them.
    TLinePace(std::int64_t baud, qsizetype maxQueued);

    // Returns how many of the bytes were kept.
    qsizetype Queue(const QByteArray &bytes, std::int64_t nowNs);
    // The queued bytes that have arrived by nowNs, in order; each is handed out once.
    QByteArray Take(std::int64_t nowNs);
    // When the next queued byte arrives; -1 when none waits.
    std::int64_t NextArrivalNs() const;
    qsizetype Queued() const { return m_queue.size() - m_taken; }

private:
    std::int64_t ArrivedBy(std::int64_t nowNs) const;

    std::int64_t m_baud;
    qsizetype m_maxQueued;
    QByteArray m_queue;
    qsizetype m_taken = 0;
    // The busy line's time origin and the bytes that have arrived since then; the origin moves
    // on by whole ten-second steps so that neither number grows without bound.
    std::int64_t m_startNs = 0;
    std::int64_t m_arrived = 0;
};
