#include "apphints.h"

#include <QApplication>
#include <QHelpEvent>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QToolTip>

namespace {

// Qt asks the style how long the pointer must rest before a tooltip; this is the only knob.
class THintStyle : public QProxyStyle
{
public:
    THintStyle(QStyle *base, int wakeUpDelay)
        : QProxyStyle(base), m_wakeUpDelay(wakeUpDelay)
    {
    }
    void SetWakeUpDelay(int ms) { m_wakeUpDelay = ms; }
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *data) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return m_wakeUpDelay;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }

private:
    int m_wakeUpDelay;
};

// The text colour that goes with a hint colour: the system's hint text on the system's hint
// colour, black on any other light colour and white on a dark one. The palette's own hint text
// belongs to the palette's hint colour, and a dark theme's is near white.
QColor HintTextColor(TColor color)
{
    if (color == clInfoBk)
        return ToQColor(clInfoText);
    return qGray(ToQColor(color).rgb()) >= 128 ? QColor(Qt::black) : QColor(Qt::white);
}

// A hint is drawn on top of everything: it must not cover an open popup menu or list.
bool UnderOpenPopup(const QWidget *widget)
{
    const QWidget *popup = QApplication::activePopupWidget();
    return popup && widget->window() != popup;
}

} // namespace

TAppHints &TAppHints::Instance()
{
    static QPointer<TAppHints> instance;
    if (!instance)
        instance = new TAppHints(QCoreApplication::instance());
    return *instance;
}

TAppHints::TAppHints(QObject *parent)
    : QObject(parent)
{
    m_pending.setSingleShot(true);
    connect(&m_pending, &QTimer::timeout, this, &TAppHints::ShowPending);
    if (parent)
        parent->installEventFilter(this);
    SetColor(m_color);
    ApplyWakeUpDelay();
}

void TAppHints::SetColor(TColor color)
{
    m_color = color;
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, ToQColor(color));
    palette.setColor(QPalette::Window, ToQColor(color));
    palette.setColor(QPalette::ToolTipText, HintTextColor(color));
    palette.setColor(QPalette::WindowText, HintTextColor(color));
    QToolTip::setPalette(palette);
}

void TAppHints::SetPause(int ms)
{
    m_pause = std::max(ms, 0);
}

void TAppHints::SetShortPause(int ms)
{
    m_shortPause = std::max(ms, 0);
    ApplyWakeUpDelay();
}

void TAppHints::SetHidePause(int ms)
{
    m_hidePause = ms;
}

void TAppHints::SetShowHint(bool show)
{
    m_showHint = show;
    if (!show) {
        m_pending.stop();
        QToolTip::hideText();
    }
}

// Qt wakes us after the short pause; the first hint then waits out the rest of the long one.
void TAppHints::ApplyWakeUpDelay()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    if (auto *installed = dynamic_cast<THintStyle *>(QApplication::style())) {
        installed->SetWakeUpDelay(m_shortPause);
        return;
    }
    QStyle *base = QStyleFactory::create(QApplication::style()->name());
    if (base)
        QApplication::setStyle(new THintStyle(base, m_shortPause));
}

bool TAppHints::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType())
        return false;
    auto *help = static_cast<QHelpEvent *>(event);
    return HandleToolTip(static_cast<QWidget *>(watched), help->globalPos());
}

bool TAppHints::HandleToolTip(QWidget *widget, QPoint globalPos)
{
    if (!m_showHint || UnderOpenPopup(widget))
        return true;
    if (widget->toolTip().isEmpty())
        return false; // let it travel to the parent, which may have a hint
    if (QToolTip::isVisible()) {
        QToolTip::showText(globalPos, widget->toolTip(), widget, QRect(), m_hidePause);
        return true;
    }
    if (m_pendingWidget != widget || !m_pending.isActive()) {
        m_pendingWidget = widget;
        m_pending.start(std::max(m_pause - m_shortPause, 0));
    }
    m_pendingPos = globalPos;
    return true;
}

void TAppHints::ShowPending()
{
    if (m_pendingWidget && m_pendingWidget->underMouse() && m_showHint && !UnderOpenPopup(m_pendingWidget))
        QToolTip::showText(m_pendingPos, m_pendingWidget->toolTip(), m_pendingWidget, QRect(), m_hidePause);
}
