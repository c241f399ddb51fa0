#include "bytecolumn.h"

#include "hexbyte.h"

#include <algorithm>

QByteArray IntToBin(int value)
{
    QByteArray text("00000000");
    auto rest = static_cast<unsigned>(value);
    for (int position = 7; position >= 0; --position) {
        text[position] = char('0' + rest % 2);
        rest /= 2;
    }
    return text;
}

TByteColumn::TByteColumn(TFormat format)
    : m_format(format)
{
}

void TByteColumn::Append(const void *data, int size)
{
    if (size <= 0)
        return;
    const qsizetype held = qsizetype(m_bytes.size());
    if (held + size > kMaxRows)
        DropOldest(held + size - kMaxRows + kMaxRows / 4);
    MakeRoom(size);
    const int first = RowCount();
    const auto *bytes = static_cast<const std::uint8_t *>(data);
    m_bytes.insert(m_bytes.end(), bytes, bytes + size);
    NotifyChanged(first);
}

// Grown by the vector's doubling, the buffer would reach twice the cap; it grows so up to the cap
// and no further, and the bytes dropped at the cap make room inside it.
void TByteColumn::MakeRoom(qsizetype count)
{
    const auto needed = qsizetype(m_bytes.size()) + count;
    const auto capacity = qsizetype(m_bytes.capacity());
    if (needed > capacity)
        m_bytes.reserve(size_t(std::max(needed, std::min(2 * capacity, kMaxRows))));
}

void TByteColumn::DropOldest(qsizetype count)
{
    m_bytes.erase(m_bytes.begin(), m_bytes.begin() + std::min(count, qsizetype(m_bytes.size())));
    NotifyChanged(0);
}

void TByteColumn::Clear()
{
    m_bytes = {};
    NotifyChanged(0);
}

QByteArray TByteColumn::FormatByte(TFormat format, std::uint8_t value)
{
    switch (format) {
    case Dec:
        return QByteArray::number(value);
    case Hex: {
        char digits[2];
        PutHexByte(digits, value);
        return QByteArray(digits, 2);
    }
    case Bin:
        break;
    }
    return IntToBin(value);
}

int TByteColumn::RowCount() const
{
    return int(m_bytes.size());
}

QByteArray TByteColumn::RowText(int row) const
{
    if (row < 0 || row >= RowCount())
        return {};
    return FormatByte(m_format, m_bytes[size_t(row)]);
}

bool TByteColumn::RowEndsLine(int row) const
{
    return row >= 0 && row < RowCount();
}
