#include "hexdumprows.h"

#include "hexbyte.h"
#include "memolines.h"

#include <algorithm>
#include <cstring>

namespace {

// What a value adds to a row: its blank and two digits (and a fourth byte, so that a value is
// one store; what follows overwrites it), and its character.
struct TValueTexts
{
    std::array<std::array<char, 4>, 256> Values{};
    std::array<char, 256> Chars{};
};

constexpr TValueTexts kValueTexts = [] {
    TValueTexts texts;
    for (int value = 0; value < 256; ++value) {
        texts.Values[value] = {' ', 0, 0, ' '};
        PutHexByte(&texts.Values[value][1], std::uint8_t(value));
        texts.Chars[value] = value >= 0x20 && value < 0x7F ? char(value) : '.';
    }
    return texts;
}();

// At least eight digits, written from out on; returns the end.
char *PutOffset(char *out, std::int64_t offset)
{
    int digits = 8;
    while (digits < 16 && (offset >> (4 * digits)) != 0)
        ++digits;
    for (int i = digits - 1; i >= 0; --i, offset >>= 4)
        out[i] = kHexDigits[offset & 15];
    return out + digits;
}

} // namespace

THexDumpRows::THexDumpRows(TMemoLines &box)
    : m_box(box)
{
}

// Whole rows go from the data into the text at once; only a short row's values are kept.
void THexDumpRows::Append(const std::uint8_t *data, int size, std::int64_t offset)
{
    static constexpr int kRowSpace = 96;
    m_text.resize(0);
    m_text.reserve((size / kPerRow + 2) * kRowSpace);
    const qsizetype replaced = m_shown;
    // Count is one short of the rows exactly when the text is empty or ends with a line break.
    if ((m_fill == 0 || m_shown == 0) && m_box.Count() == m_box.RowCount())
        m_text += "\r\n";
    int at = 0;
    if (m_fill > 0) {
        at = std::min(size, kPerRow - m_fill);
        std::memcpy(m_row.data() + m_fill, data, std::size_t(at));
        m_fill += at;
        if (m_fill == kPerRow) {
            AddRow(m_rowOffset, m_row.data(), kPerRow);
            m_fill = 0;
        }
    }
    for (; size - at >= kPerRow; at += kPerRow)
        AddRow(offset + at, data + at, kPerRow);
    if (at < size) {
        m_rowOffset = offset + at;
        m_fill = size - at;
        std::memcpy(m_row.data(), data + at, std::size_t(m_fill));
    }
    m_shown = 0;
    if (m_fill > 0) {
        const qsizetype before = m_text.size();
        AddRow(m_rowOffset, m_row.data(), m_fill);
        m_shown = m_text.size() - before;
    }
    m_box.ReplaceEnd(replaced, m_text);
}

void THexDumpRows::Break(bool keepValues)
{
    if (!keepValues)
        m_fill = 0;
    m_shown = 0;
}

// A short row keeps the characters' column where a full row has it; a full one ends its line.
// The row is put together on the stack, where writing it cannot touch the values it reads.
void THexDumpRows::AddRow(std::int64_t offset, const std::uint8_t *values, int count)
{
    static constexpr int kBlanks = 2;
    char row[16 + 1 + 3 * kPerRow + kBlanks + kPerRow + 2];
    char *out = PutOffset(row, offset);
    *out++ = ' ';
    for (int i = 0; i < count; ++i, out += 3)
        std::memcpy(out, kValueTexts.Values[values[i]].data(), 4);
    const int blanks = 3 * (kPerRow - count) + kBlanks;
    std::memset(out, ' ', std::size_t(blanks));
    out += blanks;
    for (int i = 0; i < count; ++i)
        *out++ = kValueTexts.Chars[values[i]];
    if (count == kPerRow) {
        *out++ = '\r';
        *out++ = '\n';
    }
    m_text.append(row, out - row);
}
