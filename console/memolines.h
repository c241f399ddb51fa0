#pragma once

#include "rowsource.h"

#include <vector>

// The text of a multi-line text box as rows: split at each CR LF and wrapped at the box width.
// Offers the box's line operations with their exact semantics, wrap rows included: Count, Get,
// Put, Add, Clear and the whole text. A string written by Put, Add or as the whole text is cut at
// its first NUL, as the box holds none. An operation costs what the rows it touches hold, never
// the whole text, so appending to one ever-longer wrapped line stays cheap.
class TMemoLines : public TRowSource
{
public:
    TMemoLines();

    int Count() const;
    QByteArray Get(int index) const;
    void Put(int index, const QByteArray &text);
    void Add(const QByteArray &text);
    void Clear();
    QByteArray Text() const;
    void SetText(const QByteArray &text);
    // The same as replacing the whole text with itself followed by text.
    void Append(const QByteArray &text);

    int RowCount() const override;
    QByteArray RowText(int row) const override;
    bool RowEndsLine(int row) const override;
    void SetWrap(int width, const TCharWidths &widths) override;

private:
    struct TRow
    {
        QByteArray text;
        bool hard = false;
    };

    void Splice(int first, int last, const QByteArray &text, bool lastHard);
    void WrapText(std::vector<TRow> &out, const QByteArray &text, bool lastHard) const;
    void WrapParagraph(std::vector<TRow> &out, const char *data, int size, bool hard) const;
    int RowLength(const char *data, int size) const;
    int FirstRowToRewrap(int row, const QByteArray &newText) const;
    int LastRowOfLine(int row) const;

    std::vector<TRow> m_rows;
    int m_width = 0;
    int m_maxFit = 0;
    TCharWidths m_widths{};
};
