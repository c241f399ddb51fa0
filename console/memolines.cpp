#include "memolines.h"

#include <algorithm>

namespace {

const QByteArray kLineBreak("\r\n");

QByteArray CutAtNul(const QByteArray &text)
{
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text : text.left(nul);
}

} // namespace

TMemoLines::TMemoLines()
{
    m_widths.fill(1);
    Clear();
}

int TMemoLines::Count() const
{
    return RowCount() - (m_rows.back().text.isEmpty() ? 1 : 0);
}

QByteArray TMemoLines::Get(int index) const
{
    return index >= 0 && index < RowCount() ? m_rows[index].text : QByteArray();
}

void TMemoLines::Put(int index, const QByteArray &text)
{
    if (index < 0 || index >= RowCount())
        return;
    const QByteArray cut = CutAtNul(text);
    const int first = FirstRowToRewrap(index, cut);
    const int last = LastRowOfLine(index);
    QByteArray joined;
    for (int row = first; row < index; ++row)
        joined += m_rows[row].text;
    joined += cut;
    for (int row = index + 1; row <= last; ++row)
        joined += m_rows[row].text;
    Splice(first, last, joined, m_rows[last].hard);
}

void TMemoLines::Add(const QByteArray &text)
{
    const int last = RowCount() - 1;
    const QByteArray &tail = m_rows[last].text;
    if (tail.isEmpty())
        Splice(last, last, CutAtNul(text) + kLineBreak, false);
    else
        Splice(last, last, tail + kLineBreak + CutAtNul(text), false);
}

void TMemoLines::Append(const QByteArray &text)
{
    const int last = RowCount() - 1;
    const QByteArray cut = CutAtNul(text);
    const int first = FirstRowToRewrap(last, cut);
    QByteArray joined;
    for (int row = first; row <= last; ++row)
        joined += m_rows[row].text;
    Splice(first, last, joined + cut, false);
}

void TMemoLines::Clear()
{
    m_rows.assign(1, TRow{});
    NotifyChanged(0);
}

QByteArray TMemoLines::Text() const
{
    QByteArray text;
    for (const TRow &row : m_rows) {
        text += row.text;
        if (row.hard)
            text += kLineBreak;
    }
    return text;
}

void TMemoLines::SetText(const QByteArray &text)
{
    m_rows.clear();
    WrapText(m_rows, CutAtNul(text), false);
    NotifyChanged(0);
}

int TMemoLines::RowCount() const
{
    return int(m_rows.size());
}

QByteArray TMemoLines::RowText(int row) const
{
    return Get(row);
}

bool TMemoLines::RowEndsLine(int row) const
{
    return row >= 0 && row < RowCount() && m_rows[row].hard;
}

void TMemoLines::SetWrap(int width, const TCharWidths &widths)
{
    width = std::max(width, 0);
    if (width == m_width && widths == m_widths)
        return;
    m_width = width;
    m_widths = widths;
    for (auto &advance : m_widths)
        advance = std::max<std::uint16_t>(advance, 1);
    m_maxFit = m_width / *std::min_element(m_widths.begin(), m_widths.end());
    SetText(Text());
}

void TMemoLines::Splice(int first, int last, const QByteArray &text, bool lastHard)
{
    std::vector<TRow> rows;
    WrapText(rows, text, lastHard);
    if (last == RowCount() - 1) {
        m_rows.resize(first);
        std::move(rows.begin(), rows.end(), std::back_inserter(m_rows));
    } else {
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
        m_rows.insert(m_rows.begin() + first, std::make_move_iterator(rows.begin()),
                      std::make_move_iterator(rows.end()));
    }
    NotifyChanged(first);
}

void TMemoLines::WrapText(std::vector<TRow> &out, const QByteArray &text, bool lastHard) const
{
    qsizetype start = 0;
    for (;;) {
        const qsizetype brk = text.indexOf(kLineBreak, start);
        if (brk < 0)
            break;
        WrapParagraph(out, text.constData() + start, int(brk - start), true);
        start = brk + kLineBreak.size();
    }
    WrapParagraph(out, text.constData() + start, int(text.size() - start), lastHard);
}

void TMemoLines::WrapParagraph(std::vector<TRow> &out, const char *data, int size, bool hard) const
{
    int pos = 0;
    do {
        const int length = RowLength(data + pos, size - pos);
        out.push_back(TRow{QByteArray(data + pos, length), false});
        pos += length;
    } while (pos < size);
    out.back().hard = hard;
}

// Breaks after the last blank that fits, lets one blank hang past the edge, and cuts a word that
// is wider than the box. The decision looks at no more than m_maxFit + 1 characters, which is
// what lets an edit re-wrap from a nearby row instead of from the start of the line.
int TMemoLines::RowLength(const char *data, int size) const
{
    if (m_width <= 0)
        return size;
    int used = 0;
    int fit = 0;
    while (fit < size) {
        used += m_widths[static_cast<unsigned char>(data[fit])];
        if (used > m_width)
            break;
        ++fit;
    }
    if (fit == size)
        return size;
    if (fit == 0)
        return 1;
    if (data[fit] == ' ')
        return fit + 1;
    for (int i = fit - 1; i >= 0; --i)
        if (data[i] == ' ')
            return i + 1;
    return fit;
}

// Rows that start more than m_maxFit characters before the given row never looked at it. A CR or
// LF in the new text may pair with a neighbour into a line break, which ends the line earlier:
// then the whole line is laid out again.
int TMemoLines::FirstRowToRewrap(int row, const QByteArray &newText) const
{
    int first = row;
    if (newText.contains('\r') || newText.contains('\n')) {
        while (first > 0 && !m_rows[first - 1].hard)
            --first;
        return first;
    }
    qsizetype distance = 0;
    while (first > 0 && !m_rows[first - 1].hard) {
        distance += m_rows[first - 1].text.size();
        if (distance > m_maxFit)
            break;
        --first;
    }
    return first;
}

int TMemoLines::LastRowOfLine(int row) const
{
    while (row < RowCount() - 1 && !m_rows[row].hard)
        ++row;
    return row;
}
