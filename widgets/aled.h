#pragma once

#include "color.h"
#include "notifyevent.h"

#include <QBasicTimer>
#include <QImage>
#include <QWidget>

#include <functional>

// A small lamp that shows one colour while Value is true and another while it is false, and can
// blink between the two while on. The lamp's shape comes from one of six drawn images whose lime
// face is recoloured; the widget takes the image's size.
class TALed : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Value READ Value WRITE SetValue)
    Q_PROPERTY(bool Blink READ Blink WRITE SetBlink)
    Q_PROPERTY(int Interval READ Interval WRITE SetInterval)
    Q_PROPERTY(uint TrueColor READ TrueColor WRITE SetTrueColor)
    Q_PROPERTY(uint FalseColor READ FalseColor WRITE SetFalseColor)
    Q_PROPERTY(TLEDStyle LEDStyle READ LEDStyle WRITE SetLEDStyle)

public:
    enum TLEDStyle { LEDSmall, LEDLarge, LEDSqSmall, LEDSqLarge, LEDVertical, LEDHorizontal };
    Q_ENUM(TLEDStyle)

    explicit TALed(QWidget *parent = nullptr);
    ~TALed() override;

    bool Value() const { return m_value; }
    void SetValue(bool value);
    bool Blink() const { return m_blink; }
    void SetBlink(bool value);
    // Milliseconds each image stays while blinking; a running blink takes a new value at once.
    int Interval() const { return m_interval; }
    void SetInterval(int value);
    TColor TrueColor() const { return m_trueColor; }
    void SetTrueColor(TColor value);
    TColor FalseColor() const { return m_falseColor; }
    void SetFalseColor(TColor value);
    TLEDStyle LEDStyle() const { return m_style; }
    void SetLEDStyle(TLEDStyle value);

    // The image painted now (the on image while blinking shows it) and the two images themselves.
    bool ShowsOnImage() const { return m_showsOn; }
    const QImage &OnImage() const { return m_onImage; }
    const QImage &OffImage() const { return m_offImage; }

    QSize sizeHint() const override;

    // Event properties: empty means unassigned. OnTimer follows every blink step.
    TNotifyEvent OnTimer;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void BuildImages();
    void SetColor(TColor &field, TColor value);
    void StartBlinking();
    void StopBlinking();
    void ToggleFrame();
    void Draw(bool on);

    bool m_value = false;
    bool m_blink = true;
    int m_interval = 1000;
    TColor m_trueColor = 0x00FF00;
    TColor m_falseColor = clSilver;
    TLEDStyle m_style = LEDSmall;
    bool m_showsOn = false;
    QImage m_onImage;
    QImage m_offImage;
    QBasicTimer m_blinkTimer;
};
