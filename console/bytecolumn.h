#pragma once

#include "rowsource.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

// The binary text of a byte: eight characters 0 or 1, most significant bit first.
QByteArray IntToBin(int value);

// One value column: every received byte as one row, shown in decimal, as two hex digits or as
// eight binary digits. Keeps one byte per row and formats rows only when they are shown, so an
// hour of data costs megabytes, not gigabytes. At kMaxRows rows the oldest quarter goes, so that
// a column never holds more than kMaxRows bytes however long the program runs.
class TByteColumn : public TRowSource
{
public:
    enum TFormat { Dec, Hex, Bin };

    explicit TByteColumn(TFormat format);

    // Adds one row per byte, as one insertion.
    void Append(const void *data, int size);
    void Clear();
    TFormat Format() const { return m_format; }
    static QByteArray FormatByte(TFormat format, std::uint8_t value);

    int RowCount() const override;
    QByteArray RowText(int row) const override;
    bool RowEndsLine(int row) const override;

    // 64 MiB: the three columns together stay near 200 MB over a day at 115200 baud.
    static constexpr qsizetype kMaxRows = qsizetype(1) << 26;

private:
    void DropOldest(qsizetype count);
    void MakeRoom(qsizetype count);

    TFormat m_format;
    std::vector<std::uint8_t> m_bytes;
};
