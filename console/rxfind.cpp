#include "rxfind.h"

#include "hexbyte.h"
#include "rowsource.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

const std::array<char, 256> kFolded = [] {
    std::array<char, 256> folded{};
    for (int value = 0; value < 256; ++value) {
        const char16_t lower = QChar(char16_t(value)).toLower().unicode();
        folded[std::size_t(value)] = char(lower <= 0xFF ? lower : value);
    }
    return folded;
}();

void Fold(std::string &text)
{
    for (char &ch : text)
        ch = kFolded[static_cast<unsigned char>(ch)];
}

int HexDigit(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

void TRxFind::SetQuery(const QString &text, bool matchCase, bool hexMode)
{
    const std::optional<QByteArray> run = hexMode ? HexRun(text) : std::nullopt;
    m_hasQuery = !text.isEmpty();
    m_values = run.has_value();
    m_matchCase = matchCase || m_values;
    // A character beyond Latin-1 is in no row.
    m_valid = m_values
              || (m_hasQuery && std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() <= 0xFF; }));
    const QByteArray bytes = run ? *run : text.toLatin1();
    m_pattern.assign(bytes.constData(), std::size_t(bytes.size()));
    if (!m_matchCase)
        Fold(m_pattern);
}

void TRxFind::Scan(const TRowSource &rows)
{
    const bool hadCurrent = m_current >= 0;
    const TPos was = hadCurrent ? Match(m_current).From : TPos{};
    m_matches.clear();
    m_current = -1;
    if (!m_valid)
        return;
    const int count = rows.RowCount();
    int firstRow = 0;
    for (int row = 0; row < count; ++row) {
        const QByteArray text = rows.RowText(row);
        m_line.append(text.constData(), std::size_t(text.size()));
        m_rowEnds.push_back(qsizetype(m_line.size()));
        if (rows.RowEndsLine(row) || row == count - 1) {
            ScanLine(firstRow);
            firstRow = row + 1;
        }
    }
    if (hadCurrent && !m_matches.empty()) {
        const auto at = std::partition_point(m_matches.begin(), m_matches.end(),
                                             [&](const TMatch &match) { return match.From < was; });
        m_current = at == m_matches.end() ? Count() - 1 : int(at - m_matches.begin());
    }
}

void TRxFind::ScanLine(int firstRow)
{
    if (!m_matchCase)
        Fold(m_line);
    const std::string_view line(m_line);
    std::size_t at = line.find(m_pattern);
    while (at != std::string_view::npos) {
        if (m_values && !WholeValues(qsizetype(at))) {
            at = line.find(m_pattern, at + 1);
            continue;
        }
        const qsizetype end = qsizetype(at + m_pattern.size());
        m_matches.push_back({PosAt(firstRow, qsizetype(at), false), PosAt(firstRow, end, true)});
        at = line.find(m_pattern, std::size_t(end));
    }
    m_line.clear();
    m_rowEnds.clear();
}

// HEX values are two digits and a blank each: a whole run starts a row's text or follows a blank,
// and a blank follows it.
bool TRxFind::WholeValues(qsizetype at) const
{
    const qsizetype end = at + qsizetype(m_pattern.size());
    return (at == 0 || m_line[std::size_t(at - 1)] == ' ')
           && (end == qsizetype(m_line.size()) || m_line[std::size_t(end)] == ' ');
}

// The position of an offset into the line; an end offset belongs to the row that it ends.
TRxFind::TPos TRxFind::PosAt(int firstRow, qsizetype offset, bool end) const
{
    const auto found = end ? std::lower_bound(m_rowEnds.begin(), m_rowEnds.end(), offset)
                           : std::upper_bound(m_rowEnds.begin(), m_rowEnds.end(), offset);
    const auto index = std::min<std::ptrdiff_t>(found - m_rowEnds.begin(), std::ptrdiff_t(m_rowEnds.size()) - 1);
    const qsizetype rowStart = index == 0 ? 0 : m_rowEnds[std::size_t(index - 1)];
    return TPos{firstRow + int(index), int(offset - rowStart)};
}

void TRxFind::GoTo(TPos pos)
{
    const auto at = std::partition_point(m_matches.begin(), m_matches.end(),
                                         [&](const TMatch &match) { return match.From < pos; });
    m_current = m_matches.empty() ? -1 : at == m_matches.end() ? 0 : int(at - m_matches.begin());
}

void TRxFind::Next()
{
    m_current = m_matches.empty() ? -1 : (m_current + 1) % Count();
}

void TRxFind::Previous()
{
    m_current = m_matches.empty() ? -1 : m_current <= 0 ? Count() - 1 : m_current - 1;
}

QString TRxFind::CountText() const
{
    if (!m_hasQuery)
        return QString();
    if (m_matches.empty())
        return QStringLiteral("No matches");
    return QStringLiteral("%1 of %2").arg(m_current + 1).arg(Count());
}

// Matches follow one another without overlapping, so their ends are in order too.
void TRxFind::MarksIn(int first, int end, std::vector<TMemoView::TMark> &marks) const
{
    auto match = std::partition_point(m_matches.begin(), m_matches.end(),
                                      [&](const TMatch &m) { return m.To.row < first; });
    for (; match != m_matches.end() && match->From.row < end; ++match)
        marks.push_back({match->From, match->To, match - m_matches.begin() == m_current});
}

std::optional<QByteArray> TRxFind::HexRun(const QString &query)
{
    QByteArray run;
    for (const QString &token : query.simplified().split(u' ', Qt::SkipEmptyParts)) {
        if (token.size() % 2 != 0)
            return std::nullopt;
        for (qsizetype i = 0; i < token.size(); i += 2) {
            const int high = HexDigit(token[i]);
            const int low = HexDigit(token[i + 1]);
            if (high < 0 || low < 0)
                return std::nullopt;
            if (!run.isEmpty())
                run += ' ';
            char digits[2];
            PutHexByte(digits, std::uint8_t(high * 16 + low));
            run.append(digits, 2);
        }
    }
    return run.isEmpty() ? std::nullopt : std::optional(run);
}
