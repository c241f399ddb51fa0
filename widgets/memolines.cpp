#include "memolines.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

namespace {

constexpr std::string_view kLineBreak("\r\n");

QByteArrayView CutAtNul(QByteArrayView text)
{
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text : text.first(nul);
}

} // namespace

TMemoLines::TMemoLines()
{
    m_widths.fill(1);
    Clear();
}

int TMemoLines::Count() const
{
    return RowCount() - (m_rows.back().start == qsizetype(m_bytes.size()) ? 1 : 0);
}

QByteArray TMemoLines::Get(int index) const
{
    if (index < 0 || index >= RowCount())
        return {};
    return QByteArray(m_bytes.data() + m_rows[index].start, RowSize(index));
}

void TMemoLines::Put(int index, QByteArrayView text)
{
    if (index < 0 || index >= RowCount())
        return;
    const QByteArrayView cut = CutAtNul(text);
    const int first = FirstRowToRewrap(index, cut);
    const int last = LastRowOfLine(index);
    const qsizetype oldSize = RowSize(index);
    const qsizetype end = RowEnd(last) - oldSize + cut.size();
    m_bytes.replace(m_rows[index].start, oldSize, cut.data(), cut.size());
    Relayout(first, last, m_rows[first].start, end, m_rows[last].hard);
}

void TMemoLines::Add(QByteArrayView text)
{
    const QByteArrayView cut = CutAtNul(text);
    const int last = RowCount() - 1;
    const qsizetype begin = m_rows[last].start;
    if (begin == qsizetype(m_bytes.size())) {
        m_bytes.append(cut.data(), cut.size());
        m_bytes.append(kLineBreak);
    } else {
        m_bytes.append(kLineBreak);
        m_bytes.append(cut.data(), cut.size());
    }
    Relayout(last, last, begin, qsizetype(m_bytes.size()), false);
}

void TMemoLines::Append(QByteArrayView text)
{
    ReplaceEnd(0, text);
}

void TMemoLines::ReplaceEnd(qsizetype n, QByteArrayView text)
{
    const QByteArrayView cut = CutAtNul(text);
    const int last = RowCount() - 1;
    qsizetype keep = qsizetype(m_bytes.size()) - std::max<qsizetype>(n, 0);
    int row = last;
    while (row > 0 && !m_rows[row - 1].hard && m_rows[row].start > keep)
        --row;
    keep = std::max(keep, m_rows[row].start);
    const int first = FirstRowToRewrap(row, cut);
    m_bytes.resize(std::size_t(keep));
    m_bytes.append(cut.data(), cut.size());
    Relayout(first, last, m_rows[first].start, qsizetype(m_bytes.size()), false);
}

void TMemoLines::DropFirstRows(int count)
{
    count = std::clamp(count, 0, RowCount() - 1);
    if (count == 0)
        return;
    m_rows.erase(m_rows.begin(), m_rows.begin() + count);
    CompactFront();
    if (m_changedFrom != INT_MAX)
        m_changedFrom = std::max(0, m_changedFrom - count);
    NotifyDropped(count);
}

// Moving the kept bytes once the dropped ones outweigh them costs one move per dropped byte at
// most, and holds no more than twice what the kept rows need.
void TMemoLines::CompactFront()
{
    static constexpr qsizetype kSmallestMove = 1 << 16;
    const qsizetype dropped = m_rows.front().start;
    if (dropped < kSmallestMove || dropped < qsizetype(m_bytes.size()) - dropped)
        return;
    m_bytes.erase(0, std::size_t(dropped));
    for (TRow &row : m_rows)
        row.start -= dropped;
}

// A huge text once set need not hold its memory for good; the usual few hundred rows keep theirs.
void TMemoLines::Clear()
{
    static constexpr std::size_t kKeptCapacity = std::size_t(1) << 20;
    m_bytes.clear();
    if (m_bytes.capacity() > kKeptCapacity)
        m_bytes.shrink_to_fit();
    m_rows.assign(1, TRow{});
    Changed(0);
}

void TMemoLines::BeginUpdate()
{
    ++m_updating;
}

void TMemoLines::EndUpdate()
{
    if (--m_updating > 0 || m_changedFrom == INT_MAX)
        return;
    const int first = std::exchange(m_changedFrom, INT_MAX);
    NotifyChanged(first);
}

QByteArray TMemoLines::Text() const
{
    QByteArray text;
    for (int row = 0; row < RowCount(); ++row) {
        text.append(m_bytes.data() + m_rows[row].start, RowSize(row));
        if (m_rows[row].hard)
            text.append(kLineBreak.data(), kLineBreak.size());
    }
    return text;
}

void TMemoLines::SetText(QByteArrayView text)
{
    const QByteArrayView cut = CutAtNul(text);
    m_bytes.assign(cut.data(), cut.size());
    m_rows.clear();
    Relayout(0, -1, 0, qsizetype(m_bytes.size()), false);
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
    const auto [narrowest, widest] = std::minmax_element(m_widths.begin(), m_widths.end());
    m_maxFit = m_width / *narrowest;
    m_sureFit = m_width / *widest;
    SetText(Text());
}

qsizetype TMemoLines::RowEnd(int row) const
{
    return row + 1 < RowCount() ? m_rows[row + 1].start : qsizetype(m_bytes.size());
}

// Lays the bytes from begin to end out anew as the rows first to last, which they replaced; the
// rows after them keep their texts and move with the bytes.
void TMemoLines::Relayout(int first, int last, qsizetype begin, qsizetype end, bool lastHard)
{
    const qsizetype newEnd = LayOut(begin, end, lastHard);
    if (last + 1 < RowCount()) {
        const qsizetype shift = newEnd - m_rows[last + 1].start;
        for (auto row = m_rows.begin() + last + 1; row != m_rows.end(); ++row)
            row->start += shift;
    }
    const auto oldCount = std::ptrdiff_t(last + 1 - first);
    const auto newCount = std::ptrdiff_t(m_laidOut.size());
    if (newCount > oldCount)
        m_rows.insert(m_rows.begin() + first + oldCount, newCount - oldCount, TRow{});
    else if (newCount < oldCount)
        m_rows.erase(m_rows.begin() + first + newCount, m_rows.begin() + first + oldCount);
    std::copy(m_laidOut.begin(), m_laidOut.end(), m_rows.begin() + first);
    Changed(first);
}

// Wraps the bytes from begin to end into m_laidOut. Each CR LF among them ends a line: it leaves
// the buffer and becomes the hard end of the row before it. Returns where the bytes now end.
qsizetype TMemoLines::LayOut(qsizetype begin, qsizetype end, bool lastHard)
{
    m_laidOut.clear();
    qsizetype read = begin;
    qsizetype write = begin;
    for (;;) {
        const std::string_view rest(m_bytes.data() + read, std::size_t(end - read));
        const std::size_t found = rest.find(kLineBreak);
        const qsizetype size = found == std::string_view::npos ? end - read : qsizetype(found);
        if (write != read)
            std::memmove(m_bytes.data() + write, m_bytes.data() + read, std::size_t(size));
        WrapParagraph(write, size, found == std::string_view::npos ? lastHard : true);
        write += size;
        if (found == std::string_view::npos)
            break;
        read += size + qsizetype(kLineBreak.size());
    }
    if (write != end)
        m_bytes.erase(std::size_t(write), std::size_t(end - write));
    return write;
}

void TMemoLines::WrapParagraph(qsizetype start, qsizetype size, bool hard)
{
    qsizetype pos = 0;
    do {
        const qsizetype length = RowLength(m_bytes.data() + start + pos, size - pos);
        m_laidOut.push_back(TRow{start + pos, false});
        pos += length;
    } while (pos < size);
    m_laidOut.back().hard = hard;
}

// Breaks after the last blank that fits, lets one blank hang past the edge, and cuts a word that
// is wider than the box. The decision looks at no more than m_maxFit + 1 characters, which is
// what lets an edit re-wrap from a nearby row instead of from the start of the line.
qsizetype TMemoLines::RowLength(const char *data, qsizetype size) const
{
    if (m_width <= 0 || size <= m_sureFit)
        return size;
    // When the widest m_maxFit characters fit too, which ones they are does not matter.
    qsizetype fit = m_maxFit;
    if (m_sureFit != m_maxFit) {
        fit = 0;
        int used = 0;
        while (fit < size) {
            used += m_widths[static_cast<unsigned char>(data[fit])];
            if (used > m_width)
                break;
            ++fit;
        }
    }
    if (fit == size)
        return size;
    if (fit == 0)
        return 1;
    if (data[fit] == ' ')
        return fit + 1;
    for (qsizetype i = fit - 1; i >= 0; --i)
        if (data[i] == ' ')
            return i + 1;
    return fit;
}

// Rows that start more than m_maxFit characters before the given row never looked at it. The row
// before it is always taken along, so that a row emptied by the edit joins the row before it
// instead of staying behind as an empty wrap row. A CR or LF in the new text may pair with a
// neighbour into a line break, which ends the line earlier: then the whole line is laid out again.
int TMemoLines::FirstRowToRewrap(int row, QByteArrayView newText) const
{
    const bool mayBreak = newText.contains('\r') || newText.contains('\n');
    int first = row;
    qsizetype distance = 0;
    while (first > 0 && !m_rows[first - 1].hard && (mayBreak || distance <= m_maxFit))
        distance += RowSize(--first);
    return first;
}

int TMemoLines::LastRowOfLine(int row) const
{
    while (row < RowCount() - 1 && !m_rows[row].hard)
        ++row;
    return row;
}

void TMemoLines::Changed(int firstRow)
{
    if (m_updating > 0)
        m_changedFrom = std::min(m_changedFrom, firstRow);
    else
        NotifyChanged(firstRow);
}
