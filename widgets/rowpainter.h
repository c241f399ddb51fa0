#pragma once

#include "rowsource.h"

#include <QFont>
#include <QRawFont>

#include <array>
#include <vector>

class QPainter;

// Draws rows of bytes (one byte = one Latin-1 character) in one font and says where each character
// of a row stands: the glyph cache, the glyph runs and the character-to-pixel arithmetic of a
// TMemoView, with no widget of its own. Positions are in pixels from the row's left edge.
class TRowPainter
{
public:
    // Caret: the character boundary nearest to a point; Character: the character under it.
    enum class TPick { Caret, Character };

    static constexpr int kSubPixels = 64;

    void SetFont(const QFont &font);
    // Advance of each byte in 1/kSubPixels of a pixel, the units the rows wrap in.
    const TCharWidths &Widths() const { return m_widths; }

    int XOf(const QByteArray &text, int col) const;
    // The column at x; 0 left of the row, the row's length right of it.
    int ColumnAt(const QByteArray &text, int x, TPick pick) const;

    // Adds the glyphs of text[first, end), for a row whose top left corner is at topLeft, to the
    // run that DrawQueued draws; several rows go out as one run.
    // A row with a character the font lacks is drawn at once, in the painter, through text layout.
    void QueueBytes(QPainter &painter, const QByteArray &text, int first, int end, QPoint topLeft) const;
    void DrawQueued(QPainter &painter) const;

private:
    // A line drawn under or through the text: pixel rows counted from the baseline.
    struct TLineRows
    {
        int Top = 0;
        int Rows = 0;
    };

    void LoadGlyphs(const QFont &font);
    void LoadLines(const QFont &font);
    static TLineRows RowsOfLine(qreal centre, qreal width);
    void QueueLines(qreal left, qreal right, int baseline) const;

    QFont m_font;
    TCharWidths m_widths{};
    int m_ascent = 0;
    // Glyph and advance of each byte in the font itself; glyph 0 where the font lacks it and text
    // layout must find a fallback. Placing known glyphs by hand skips layout for every row.
    QRawFont m_rawFont;
    std::array<quint32, 256> m_glyphs{};
    std::array<qreal, 256> m_advances{};
    mutable std::vector<quint32> m_runGlyphs;
    mutable std::vector<QPointF> m_runPositions;
    // Underline and strike-out of the font; Rows 0 when the font has none.
    TLineRows m_underline;
    TLineRows m_strikeOut;
    mutable std::vector<QRect> m_runLines;
};
