#include "floodsource.h"

#include <algorithm>

TFloodSource::TFloodSource(std::int64_t bytesPerSecond, const QByteArray &pattern)
    : m_rate(std::max<std::int64_t>(bytesPerSecond, 0))
    , m_pattern(pattern)
    , m_generated(pattern.isEmpty())
{
}

QByteArray TFloodSource::Take(std::int64_t elapsedMs, qsizetype maxBytes)
{
    const std::int64_t target = m_rate * elapsedMs / 1000;
    m_produced = std::max(m_produced, target - m_rate / 5);
    const std::int64_t due = std::min<std::int64_t>(target - m_produced, maxBytes);
    if (due <= 0)
        return {};
    m_produced += due;
    return Next(due);
}

QByteArray TFloodSource::Next(qsizetype count)
{
    QByteArray bytes;
    bytes.reserve(count);
    while (bytes.size() < count) {
        if (m_position >= m_pattern.size()) {
            if (m_generated)
                m_pattern = GeneratedLine();
            m_position = 0;
        }
        const qsizetype part = std::min(count - bytes.size(), m_pattern.size() - m_position);
        bytes.append(m_pattern.constData() + m_position, part);
        m_position += part;
    }
    return bytes;
}

QByteArray TFloodSource::GeneratedLine()
{
    QByteArray line = QByteArray::number(++m_lineNumber).rightJustified(8, '0') + ' ';
    for (int i = 0; line.size() < kLineLength - 2; ++i)
        line.append(char('A' + (m_lineNumber + i) % 26));
    return line + "\r\n";
}
