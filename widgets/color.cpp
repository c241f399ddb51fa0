#include "color.h"

#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

namespace {

QPalette::ColorRole SystemRole(TColor color)
{
    switch (color & 0xFF) {
    case 1: return QPalette::Shadow;
    case 5: return QPalette::Base;
    case 8: return QPalette::WindowText;
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 16: return QPalette::Mid;
    case 18: return QPalette::ButtonText;
    case 20: return QPalette::Light;
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    default: return QPalette::Button;
    }
}

int Red(TColor c) { return int(c & 0xFF); }
int Green(TColor c) { return int((c >> 8) & 0xFF); }
int Blue(TColor c) { return int((c >> 16) & 0xFF); }

TColor Rgb(int r, int g, int b)
{
    return TColor(std::clamp(r, 0, 255)) | TColor(std::clamp(g, 0, 255)) << 8
        | TColor(std::clamp(b, 0, 255)) << 16;
}

} // namespace

TColor ColorToRGB(TColor color, const QPalette &palette)
{
    if (!(color & kSystemColorFlag))
        return color & 0xFFFFFF;
    return FromQColor(palette.color(QPalette::Active, SystemRole(color)));
}

TColor ColorToRGB(TColor color)
{
    return ColorToRGB(color, QGuiApplication::palette());
}

QColor ToQColor(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return QColor(Red(rgb), Green(rgb), Blue(rgb));
}

TColor FromQColor(const QColor &color)
{
    return Rgb(color.red(), color.green(), color.blue());
}

TColor ChangeBrightness(TColor color, int percent)
{
    const TColor rgb = ColorToRGB(color);
    int r = Red(rgb) + Red(rgb) * percent / 100;
    int g = Green(rgb) + Green(rgb) * percent / 100;
    int b = Blue(rgb) + Blue(rgb) * percent / 100;
    // Overflow is pushed round the channels rather than cut off, so bright colours turn whiter.
    int carried = std::max(r - 255, 0);
    g += carried;
    const bool greenOverflowed = g > 255;
    if (greenOverflowed) {
        carried = g - 255;
        r += carried;
    }
    b += carried;
    if (b > 255 && !greenOverflowed)
        r += b - 255;
    return Rgb(r, g, b);
}
