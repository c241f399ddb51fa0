#include "rowpainter.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>

#include <cmath>

namespace {

// Control characters have no glyph of their own; a middle dot keeps them visible and one wide.
QChar DisplayChar(std::uint8_t value)
{
    return value < 0x20 || value == 0x7F ? QChar(0xB7) : QChar(value);
}

QString DisplayText(const QByteArray &text)
{
    QString shown = QString::fromLatin1(text);
    for (QChar &ch : shown)
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            ch = QChar(0xB7);
    return shown;
}

} // namespace

// Wrapping, hit tests and the selection count in 1/kSubPixels of a pixel with the advances the
// glyphs are drawn with: whole pixels per character drifted from the text by a pixel every few
// characters.
void TRowPainter::SetFont(const QFont &font)
{
    m_font = font;
    LoadGlyphs(font);
    for (int value = 0; value < 256; ++value)
        m_widths[value] = std::uint16_t(std::clamp<long>(std::lround(m_advances[value] * kSubPixels), 1, 65535));
    m_ascent = QFontMetrics(font).ascent();
}

void TRowPainter::LoadGlyphs(const QFont &font)
{
    const QFontMetricsF metrics(font);
    for (int value = 0; value < 256; ++value)
        m_advances[value] = metrics.horizontalAdvance(DisplayChar(std::uint8_t(value)));
    m_rawFont = QRawFont::fromFont(font);
    m_glyphs.fill(0);
    m_underline = m_strikeOut = TLineRows{};
    if (!m_rawFont.isValid())
        return;
    LoadLines(font);
    for (int value = 0; value < 256; ++value) {
        const QChar ch = DisplayChar(std::uint8_t(value));
        const QList<quint32> glyphs = m_rawFont.glyphIndexesForString(QString(ch));
        if (glyphs.size() != 1 || !m_rawFont.supportsCharacter(ch))
            continue;
        m_glyphs[value] = glyphs.front();
        m_advances[value] = m_rawFont.advancesForGlyphIndexes(glyphs).value(0).x();
    }
}

// Where Qt's text drawing puts the lines, so that a row drawn through text layout (a character
// the font lacks) and the rows around it are underlined and struck out alike: the underline a
// whole pixel below the font's underline position, kept within the descent; the strike-out a
// third of the ascent above the baseline; both as thick as the font says.
void TRowPainter::LoadLines(const QFont &font)
{
    const qreal width = m_rawFont.lineThickness();
    if (font.underline()) {
        const qreal position = m_rawFont.underlinePosition();
        qreal centre = std::ceil(position) + 0.5;
        if (position <= m_rawFont.descent())
            centre = std::min(centre, m_rawFont.descent() - 0.5);
        m_underline = RowsOfLine(centre, width);
    }
    if (font.strikeOut())
        m_strikeOut = RowsOfLine(-m_rawFont.ascent() / 3, width);
}

// The pixel rows that an aliased pen of the given width covers when it draws a horizontal line
// at centre: those whose middle lies below the line's upper edge and not below its lower edge.
TRowPainter::TLineRows TRowPainter::RowsOfLine(qreal centre, qreal width)
{
    const int top = int(std::floor(centre - width / 2 - 0.5)) + 1;
    const int end = int(std::floor(centre + width / 2 - 0.5)) + 1;
    return {top, std::max(1, end - top)};
}

int TRowPainter::XOf(const QByteArray &text, int col) const
{
    qint64 x = 0;
    const int end = std::min<int>(col, int(text.size()));
    for (int i = 0; i < end; ++i)
        x += m_widths[static_cast<std::uint8_t>(text[i])];
    return int((x + kSubPixels / 2) / kSubPixels);
}

int TRowPainter::ColumnAt(const QByteArray &text, int x, TPick pick) const
{
    const qint64 pointX = qint64(x) * kSubPixels;
    qint64 left = 0;
    int col = 0;
    for (; col < text.size(); ++col) {
        const int advance = m_widths[static_cast<std::uint8_t>(text[col])];
        if (pointX < left + (pick == TPick::Caret ? advance / 2 : advance))
            break;
        left += advance;
    }
    return col;
}

// Text layout finds a fallback font for what the font lacks.
void TRowPainter::QueueBytes(QPainter &painter, const QByteArray &text, int first, int end, QPoint topLeft) const
{
    const QPointF origin(topLeft.x() + XOf(text, first), topLeft.y() + m_ascent);
    const std::size_t queued = m_runGlyphs.size();
    qreal x = origin.x();
    for (int i = first; i < end; ++i) {
        const auto value = static_cast<std::uint8_t>(text[i]);
        if (m_glyphs[value] == 0) {
            m_runGlyphs.resize(queued);
            m_runPositions.resize(queued);
            painter.setFont(m_font);
            return painter.drawText(origin, DisplayText(text.mid(first, end - first)));
        }
        // A blank draws nothing; a third of every HEX row is blanks.
        if (value != ' ') {
            m_runGlyphs.push_back(m_glyphs[value]);
            m_runPositions.emplace_back(x, origin.y());
        }
        x += m_advances[value];
    }
    QueueLines(origin.x(), x, int(origin.y()));
}

// Blanks are underlined and struck out too, as in any text box.
void TRowPainter::QueueLines(qreal left, qreal right, int baseline) const
{
    const int from = int(std::floor(left));
    const int to = int(std::floor(right));
    if (to <= from)
        return;
    for (const TLineRows &line : {m_underline, m_strikeOut})
        if (line.Rows > 0)
            m_runLines.emplace_back(from, baseline + line.Top, to - from, line.Rows);
}

void TRowPainter::DrawQueued(QPainter &painter) const
{
    if (!m_runGlyphs.empty()) {
        QGlyphRun run;
        run.setRawFont(m_rawFont);
        run.setRawData(m_runGlyphs.data(), m_runPositions.data(), int(m_runGlyphs.size()));
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    // A glyph run draws one line under all its glyphs, as though they stood on one row: each
    // row's lines are filled here instead.
    for (const QRect &line : m_runLines)
        painter.fillRect(line, painter.pen().color());
    m_runGlyphs.clear();
    m_runPositions.clear();
    m_runLines.clear();
}
