#pragma once

#include <QColor>
#include <cstdint>

class QPalette;

// Colours as the window descriptions and the store carry them: 00BBGGRR, or with the top bit set the
// index of a system colour that the current palette supplies.
using TColor = std::uint32_t;

inline constexpr TColor kSystemColorFlag = 0x80000000u;
inline constexpr TColor clBackground = kSystemColorFlag | 1;
inline constexpr TColor clWindow = kSystemColorFlag | 5;
inline constexpr TColor clWindowText = kSystemColorFlag | 8;
inline constexpr TColor clBtnFace = kSystemColorFlag | 15;
inline constexpr TColor clBtnShadow = kSystemColorFlag | 16;
inline constexpr TColor clBtnText = kSystemColorFlag | 18;
inline constexpr TColor clBtnHighlight = kSystemColorFlag | 20;
inline constexpr TColor clInfoText = kSystemColorFlag | 23;
inline constexpr TColor clInfoBk = kSystemColorFlag | 24;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clGray = 0x808080;

/// Plain RGB value (00BBGGRR) of a colour; system colours are looked up in the application palette.
TColor ColorToRGB(TColor color);
/// The same, looked up in the given palette.
TColor ColorToRGB(TColor color, const QPalette &palette);
QColor ToQColor(TColor color);
TColor FromQColor(const QColor &color);

/// The colour made brighter (percent > 0) or darker (percent < 0); see the body for how a channel's
/// overflow spills into the others, which is what turns the usual grey face into a white highlight.
TColor ChangeBrightness(TColor color, int percent);
