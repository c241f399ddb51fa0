#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

class TMemoLines;

// HEX mode as the rows of a dump: 16 values a row, the offset of the row's first byte in front
// and the printable characters beside ("00000010  41 0D 0A ...  A.."). The newest row may be
// short; it is written again as its values come in. Rows follow the box's text as the run of
// values would: on a row of their own, the newest without a line break after it.
class THexDumpRows
{
public:
    static constexpr int kPerRow = 16;

    explicit THexDumpRows(TMemoLines &box);

    // Shows size bytes, the first of which is at offset in the received data.
    void Append(const std::uint8_t *data, int size, std::int64_t offset);
    // The short row is gone from the box, or the box was written in another way: the next value
    // starts a row of its own. keepValues: the short row's values come back in front of it, as
    // after a clear that the data did not ask for.
    void Break(bool keepValues = false);

private:
    void AddRow(std::int64_t offset, const std::uint8_t *values, int count);

    TMemoLines &m_box;
    std::array<std::uint8_t, kPerRow> m_row{};
    int m_fill = 0;
    std::int64_t m_rowOffset = 0;
    // Characters of the short row at the end of the box; 0 when it is not there.
    qsizetype m_shown = 0;
    QByteArray m_text;
};
