#include "aled.h"

#include "aledaccessible.h"
#include "floodfill.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include <algorithm>
#include <array>

namespace {

struct TStyleLook
{
    const char *resource;
    QSize size;
};

constexpr std::array<TStyleLook, 6> kLooks{{
    {":/leds/ALEDSM", {16, 16}},
    {":/leds/ALEDLG", {22, 22}},
    {":/leds/ALEDSQSM", {16, 16}},
    {":/leds/ALEDSQLG", {22, 22}},
    {":/leds/ALEDVT", {14, 22}},
    {":/leds/ALEDHZ", {22, 14}},
}};

constexpr QRgb kFaceColour = 0xFF00FF00;
// A shorter period would keep the event loop busy with nothing but blink steps.
constexpr int kShortestBlink = 10;

// A missing or mis-sized image still gives a lamp of the right size: a plain face to recolour.
QImage LoadLamp(const TStyleLook &look)
{
    QImage image(QString::fromLatin1(look.resource));
    if (image.size() != look.size) {
        image = QImage(look.size, QImage::Format_RGB32);
        image.fill(kFaceColour);
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

// Outside any namespace: the macro declares a global function of the resource compiler's output.
static void InitLedResources()
{
    Q_INIT_RESOURCE(leds);
}

TALed::TALed(QWidget *parent)
    : QWidget(parent)
{
    TALedAccessible::Install();
    InitLedResources();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    resize(16, 16);
    BuildImages();
}

TALed::~TALed()
{
    StopBlinking();
}

void TALed::SetValue(bool value)
{
    if (value == m_value)
        return;
    m_value = value;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
    if (value) {
        Draw(true);
        if (m_blink)
            StartBlinking();
    } else {
        StopBlinking();
        Draw(false);
    }
}

void TALed::SetBlink(bool value)
{
    if (value == m_blink)
        return;
    Draw(m_value);
    m_blink = value;
    if (m_blink && m_value)
        StartBlinking();
    else
        StopBlinking();
}

void TALed::SetInterval(int value)
{
    m_interval = value;
    if (m_blinkTimer.isActive())
        m_blinkTimer.start(std::max(m_interval, kShortestBlink), this);
}

void TALed::SetTrueColor(TColor value)
{
    SetColor(m_trueColor, value);
}

void TALed::SetFalseColor(TColor value)
{
    SetColor(m_falseColor, value);
}

void TALed::SetColor(TColor &field, TColor value)
{
    if (value == field)
        return;
    const bool blink = m_blink;
    SetBlink(false);
    field = value;
    BuildImages();
    SetBlink(blink);
    update();
}

void TALed::SetLEDStyle(TLEDStyle value)
{
    if (value == m_style || value < LEDSmall || value > LEDHorizontal)
        return;
    m_style = value;
    BuildImages();
    update();
}

QSize TALed::sizeHint() const
{
    return kLooks[m_style].size;
}

void TALed::BuildImages()
{
    const TStyleLook &look = kLooks[m_style];
    resize(look.size);
    updateGeometry();
    m_onImage = LoadLamp(look);
    m_offImage = m_onImage;
    const QPoint centre(look.size.width() / 2, look.size.height() / 2);
    FloodFill(m_onImage, centre, kFaceColour, ToQColor(m_trueColor).rgb());
    FloodFill(m_offImage, centre, kFaceColour, ToQColor(m_falseColor).rgb());
}

void TALed::StartBlinking()
{
    if (m_blinkTimer.isActive())
        return;
    m_showsOn = true;
    m_blinkTimer.start(std::max(m_interval, kShortestBlink), this);
}

void TALed::StopBlinking()
{
    m_blinkTimer.stop();
}

void TALed::ToggleFrame()
{
    Draw(!m_showsOn);
    Raise(OnTimer, this);
}

void TALed::Draw(bool on)
{
    m_showsOn = on;
    repaint();
}

void TALed::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(rect(), m_showsOn ? m_onImage : m_offImage);
}

void TALed::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_blinkTimer.timerId())
        ToggleFrame();
    else
        QWidget::timerEvent(event);
}

void TALed::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    Raise(OnMouseEnter, this);
}

void TALed::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    Raise(OnMouseLeave, this);
}

// Taking the press makes this lamp the receiver of the release that completes the click.
void TALed::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void TALed::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Raise(OnClick, this);
}
