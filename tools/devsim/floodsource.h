#pragma once

#include <QByteArray>

#include <cstdint>

// An endless payload for throughput runs: a given pattern repeated, or, without one, numbered
// 64-byte lines ending CR LF. Take() hands out the bytes that are due at a byte rate.
class TFloodSource
{
public:
    static constexpr int kLineLength = 64;

    TFloodSource(std::int64_t bytesPerSecond, const QByteArray &pattern = QByteArray());

    // Bytes due after elapsedMs since the start, at most maxBytes. A consumer that fell behind
    // does not get a burst: at most a fifth of a second's worth is ever owed.
    QByteArray Take(std::int64_t elapsedMs, qsizetype maxBytes);
    // The next count bytes of the payload, whatever the rate.
    QByteArray Next(qsizetype count);

private:
    QByteArray GeneratedLine();

    std::int64_t m_rate;
    QByteArray m_pattern;
    bool m_generated;
    qsizetype m_position = 0;
    std::int64_t m_lineNumber = 0;
    std::int64_t m_produced = 0;
};
