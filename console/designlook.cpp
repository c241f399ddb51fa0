#include "designlook.h"

#include <QFontDatabase>
#include <QPalette>

QFont TDesignLook::WindowFont()
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

QFont TDesignLook::CourierFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(11);
    return font;
}

QFont TDesignLook::SmallFont()
{
    QFont font = WindowFont();
    font.setPixelSize(9);
    return font;
}

QColor TDesignLook::ButtonFace(const QPalette &palette)
{
    return palette.color(QPalette::Button);
}

QColor TDesignLook::ScrollBar(const QPalette &palette)
{
    return palette.color(QPalette::Midlight);
}
