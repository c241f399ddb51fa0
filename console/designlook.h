#pragma once

#include <QColor>
#include <QFont>

class QPalette;

// The faces and colours the window description names, mapped onto what every Linux desktop has.
// The one place for that mapping:
//   "MS Sans Serif" 8 pt -> the sans-serif face at 8 pt
//   "Courier" 11 px      -> the fixed-pitch face at 11 px
//   "Small Fonts" 9 px   -> the sans-serif face at 9 px
//   button face          -> the palette's button colour
//   scroll-bar colour    -> the palette's midlight colour (a light grey, as scroll-bar tracks)
class TDesignLook
{
public:
    static QFont WindowFont();
    static QFont CourierFont();
    static QFont SmallFont();
    static QColor ButtonFace(const QPalette &palette);
    static QColor ScrollBar(const QPalette &palette);
};
