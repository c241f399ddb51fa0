#pragma once

#include <QMetaProperty>
#include <QObject>

// A font property of a control (with the control's text colour) seen as the stored window state
// sees a font: seven published sub-properties. Character set and pitch have no Qt counterpart
// and are kept on the control as the dynamic properties "fontCharset" and "fontPitch".
class TFontProperties : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Charset READ Charset WRITE SetCharset)
    Q_PROPERTY(int Color READ Color WRITE SetColor)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(TFontPitch Pitch READ Pitch WRITE SetPitch)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(TFontStyles Style READ Style WRITE SetStyle)

public:
    enum TFontPitch { fpDefault, fpVariable, fpFixed };
    Q_ENUM(TFontPitch)
    enum TFontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
    Q_DECLARE_FLAGS(TFontStyles, TFontStyle)
    Q_FLAG(TFontStyles)

    static constexpr int kDefaultCharset = 1;
    // The system's window-text colour (a system colour has the top bit set).
    static constexpr int kWindowTextColor = int(0x80000008u);

    // fontProperty: a QFont property of owner. Sizes convert at pixelsPerInch. The font's height
    // now is the one that a size of 0 gives back.
    TFontProperties(QObject *owner, const QMetaProperty &fontProperty, int pixelsPerInch);

    int Charset() const;
    void SetCharset(int charset);
    // 00BBGGRR, or kWindowTextColor while the control uses the default text colour.
    int Color() const;
    void SetColor(int color);
    // Character height in pixels, negative.
    int Height() const;
    void SetHeight(int height);
    QString Name() const;
    void SetName(const QString &name);
    TFontPitch Pitch() const;
    void SetPitch(TFontPitch pitch);
    // Points, derived from the height. 0 restores the height the font had when this object was
    // made.
    int Size() const;
    void SetSize(int size);
    TFontStyles Style() const;
    void SetStyle(TFontStyles style);

private:
    QFont Font() const;
    void SetFont(const QFont &font);
    int PixelHeight() const;
    void SetPixelHeight(qint64 pixels);

    QObject *m_owner;
    QMetaProperty m_fontProperty;
    int m_pixelsPerInch;
    int m_initialPixelHeight;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TFontProperties::TFontStyles)
