#include "fontproperties.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <QWidget>

#include <cmath>

namespace {

const char *const kCharset = "fontCharset";
const char *const kPitch = "fontPitch";
// Far beyond any readable text; keeps a damaged stored height from asking for giant glyphs.
constexpr qint64 kMaxPixelHeight = 1024;

qint64 MulDiv(qint64 number, qint64 numerator, qint64 denominator)
{
    return std::llround(double(number) * double(numerator) / double(denominator));
}

} // namespace

TFontProperties::TFontProperties(QObject *owner, const QMetaProperty &fontProperty, int pixelsPerInch)
    : m_owner(owner)
    , m_fontProperty(fontProperty)
    , m_pixelsPerInch(pixelsPerInch > 0 ? pixelsPerInch : 96)
    , m_initialPixelHeight(PixelHeight())
{
}

QFont TFontProperties::Font() const
{
    return m_fontProperty.read(m_owner).value<QFont>();
}

void TFontProperties::SetFont(const QFont &font)
{
    m_fontProperty.write(m_owner, font);
}

int TFontProperties::Charset() const
{
    const QVariant charset = m_owner->property(kCharset);
    return charset.isValid() ? charset.toInt() : kDefaultCharset;
}

void TFontProperties::SetCharset(int charset)
{
    m_owner->setProperty(kCharset, qBound(0, charset, 255));
}

int TFontProperties::Color() const
{
    const auto *widget = qobject_cast<const QWidget *>(m_owner);
    if (!widget)
        return kWindowTextColor;
    const QColor text = widget->palette().color(QPalette::Text);
    if (text == QApplication::palette(widget).color(QPalette::Text))
        return kWindowTextColor;
    return text.red() | (text.green() << 8) | (text.blue() << 16);
}

void TFontProperties::SetColor(int color)
{
    auto *widget = qobject_cast<QWidget *>(m_owner);
    if (!widget)
        return;
    QPalette palette = widget->palette();
    const QPalette standard = QApplication::palette(widget);
    // Every system colour stands for the default text colour: it follows the desktop's theme.
    const QColor text = color < 0 ? standard.color(QPalette::Text)
                                  : QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    const QColor windowText = color < 0 ? standard.color(QPalette::WindowText) : text;
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, windowText);
    widget->setPalette(palette);
}

int TFontProperties::PixelHeight() const
{
    const QFont font = Font();
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return int(std::lround(font.pointSizeF() * m_pixelsPerInch / 72.0));
}

void TFontProperties::SetPixelHeight(qint64 pixels)
{
    QFont font = Font();
    font.setPixelSize(int(qBound<qint64>(1, pixels, kMaxPixelHeight)));
    SetFont(font);
}

int TFontProperties::Height() const
{
    return -PixelHeight();
}

void TFontProperties::SetHeight(int height)
{
    if (height != 0)
        SetPixelHeight(std::abs(qint64(height)));
}

int TFontProperties::Size() const
{
    return int(MulDiv(PixelHeight(), 72, m_pixelsPerInch));
}

// Size comes after Height and decides the final height; 0 asks for the default height, so a
// height that was stored damaged does not stay.
void TFontProperties::SetSize(int size)
{
    SetPixelHeight(size != 0 ? MulDiv(std::abs(qint64(size)), m_pixelsPerInch, 72) : m_initialPixelHeight);
}

QString TFontProperties::Name() const
{
    return Font().family();
}

void TFontProperties::SetName(const QString &name)
{
    QFont font = Font();
    font.setFamily(name);
    SetFont(font);
}

TFontProperties::TFontPitch TFontProperties::Pitch() const
{
    const QVariant pitch = m_owner->property(kPitch);
    if (pitch.isValid())
        return TFontPitch(qBound(int(fpDefault), pitch.toInt(), int(fpFixed)));
    return Font().fixedPitch() ? fpFixed : fpDefault;
}

void TFontProperties::SetPitch(TFontPitch pitch)
{
    m_owner->setProperty(kPitch, int(pitch));
    QFont font = Font();
    font.setFixedPitch(pitch == fpFixed);
    SetFont(font);
}

TFontProperties::TFontStyles TFontProperties::Style() const
{
    const QFont font = Font();
    TFontStyles style;
    style.setFlag(fsBold, font.bold());
    style.setFlag(fsItalic, font.italic());
    style.setFlag(fsUnderline, font.underline());
    style.setFlag(fsStrikeOut, font.strikeOut());
    return style;
}

void TFontProperties::SetStyle(TFontStyles style)
{
    QFont font = Font();
    font.setBold(style.testFlag(fsBold));
    font.setItalic(style.testFlag(fsItalic));
    font.setUnderline(style.testFlag(fsUnderline));
    font.setStrikeOut(style.testFlag(fsStrikeOut));
    SetFont(font);
}
