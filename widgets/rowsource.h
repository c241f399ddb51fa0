#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <functional>

// Advance of each byte value in the units of a wrap width (pixels for a view, 1 for tests).
using TCharWidths = std::array<std::uint16_t, 256>;

// Rows of plain bytes (one byte = one Latin-1 character) that a TMemoView shows. Sources only
// grow at the end, change their last rows, drop their first rows or are emptied; the view pulls
// rows as it paints.
class TRowSource
{
public:
    virtual ~TRowSource()
    {
        if (OnGone)
            OnGone();
    }

    virtual int RowCount() const = 0;
    virtual QByteArray RowText(int row) const = 0;
    // True when a line break follows the row; false for the last row and for rows cut by wrapping.
    virtual bool RowEndsLine(int row) const = 0;
    // Width available to one row, in the units of widths; 0 or less means no wrapping.
    virtual void SetWrap(int width, const TCharWidths &widths) { (void)width; (void)widths; }

    // Called after every change with the first row that changed (rows before it kept their
    // text), so the view can schedule one repaint of just those rows for a burst of changes.
    std::function<void(int firstChangedRow)> OnChanged;
    // Called when the source is destroyed, so that a view never shows rows that are gone.
    std::function<void()> OnGone;
    // Called when the first count rows were dropped and the rest moved up by count, so that the
    // view can keep showing the same text where it stood.
    std::function<void(int count)> OnDropped;

protected:
    void NotifyChanged(int firstChangedRow) const
    {
        if (OnChanged)
            OnChanged(firstChangedRow);
    }
    void NotifyDropped(int count) const
    {
        if (OnDropped)
            OnDropped(count);
    }
};
