#pragma once

#include "memoview.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

class TRowSource;

// Finds a text in the rows of a box, line by line: a match may run on across wrap rows but never
// across a line break. In HEX mode a query of whole hex values ("0D 0A", "0d0a") finds byte runs,
// that is whole values only; any other query finds its text. Without match case, letters match
// in either case (Latin-1). Keeps which match is current while the rows change and are searched
// again.
class TRxFind
{
public:
    using TPos = TMemoView::TPos;
    struct TMatch
    {
        TPos From;
        TPos To; // not in the match
    };

    // Takes effect at the next Scan.
    void SetQuery(const QString &text, bool matchCase, bool hexMode);
    // Finds every match. The current match stays the one that starts at the same place, or
    // becomes the next one after it (the last one when none follows).
    void Scan(const TRowSource &rows);
    int Count() const { return int(m_matches.size()); }
    // -1 when there is no match.
    int Current() const { return m_current; }
    const TMatch &Match(int index) const { return m_matches[std::size_t(index)]; }
    // Makes current the first match that starts at or after pos, or the first one.
    void GoTo(TPos pos);
    // One match on or back, round from the last to the first and back.
    void Next();
    void Previous();
    // "3 of 17", "No matches", or nothing without a query.
    QString CountText() const;
    // The matches that touch the rows from first to end (not included).
    void MarksIn(int first, int end, std::vector<TMemoView::TMark> &marks) const;

    // The text that a query of whole hex values stands for in HEX mode ("0D 0A"), or nothing.
    static std::optional<QByteArray> HexRun(const QString &query);

private:
    void ScanLine(int firstRow);
    TPos PosAt(int firstRow, qsizetype offset, bool end) const;
    bool WholeValues(qsizetype at) const;

    std::string m_pattern;
    bool m_hasQuery = false;
    bool m_matchCase = false;
    bool m_values = false;
    bool m_valid = false;
    std::vector<TMatch> m_matches;
    int m_current = -1;
    // The line being searched (folded when case does not matter) and where each of its rows ends.
    std::string m_line;
    std::vector<qsizetype> m_rowEnds;
};
