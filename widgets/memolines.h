#pragma once

#include "rowsource.h"

#include <QByteArrayView>

#include <climits>
#include <deque>
#include <string>
#include <vector>

// The text of a multi-line text box as rows: split at each CR LF and wrapped at the box width.
// Offers the box's line operations with their exact semantics, wrap rows included: Count, Get,
// Put, Add, Clear and the whole text. A string written by Put, Add or as the whole text is cut at
// its first NUL, as the box holds none. All row texts live back to back in one buffer: an
// operation costs what the rows from the one it touches to the end hold, never the whole text,
// so the box's last rows (an ever-longer wrapped line among them) change cheaply and without
// allocating.
class TMemoLines : public TRowSource
{
public:
    TMemoLines();

    int Count() const;
    QByteArray Get(int index) const;
    void Put(int index, QByteArrayView text);
    void Add(QByteArrayView text);
    void Clear();
    QByteArray Text() const;
    void SetText(QByteArrayView text);
    // The same as replacing the whole text with itself followed by text.
    void Append(QByteArrayView text);
    // The same as replacing the whole text with all but its last n characters followed by text;
    // n reaches back no further than the start of the last line.
    void ReplaceEnd(qsizetype n, QByteArrayView text);
    // Drops the first count rows (all but the last at most); the rows after them keep their text
    // and layout. Costs what the dropped rows hold, whatever the box holds besides.
    void DropFirstRows(int count);
    // Between these (nested or not) change notices wait; the outermost EndUpdate gives one notice
    // for the first row that changed, so a burst of operations costs a viewer one notice.
    void BeginUpdate();
    void EndUpdate();

    int RowCount() const override;
    QByteArray RowText(int row) const override;
    bool RowEndsLine(int row) const override;
    void SetWrap(int width, const TCharWidths &widths) override;

private:
    struct TRow
    {
        qsizetype start = 0;
        bool hard = false;
    };

    qsizetype RowEnd(int row) const;
    qsizetype RowSize(int row) const { return RowEnd(row) - m_rows[row].start; }
    void Relayout(int first, int last, qsizetype begin, qsizetype end, bool lastHard);
    qsizetype LayOut(qsizetype begin, qsizetype end, bool lastHard);
    void WrapParagraph(qsizetype start, qsizetype size, bool hard);
    qsizetype RowLength(const char *data, qsizetype size) const;
    int FirstRowToRewrap(int row, QByteArrayView newText) const;
    int LastRowOfLine(int row) const;
    void CompactFront();
    void Changed(int firstRow);

    // Row texts without their line breaks; a row ends where the next one starts. The bytes before
    // the first row are what dropped rows held, until there are enough of them to move the rest.
    std::string m_bytes;
    std::deque<TRow> m_rows;
    // The rows of the latest layout, kept to reuse its storage.
    std::vector<TRow> m_laidOut;
    int m_width = 0;
    int m_maxFit = 0;
    // Rows of up to this many characters fit whatever they hold.
    int m_sureFit = 0;
    TCharWidths m_widths{};
    int m_updating = 0;
    int m_changedFrom = INT_MAX;
};
