#include "opaquelabel.h"

#include <QEvent>
#include <QPainter>
#include <QTextDocument>

TOpaqueLabel::TOpaqueLabel(QWidget *parent)
    : QLabel(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    WatchParent();
}

void TOpaqueLabel::paintEvent(QPaintEvent *event)
{
    QWidget *parent = parentWidget();
    const qreal ratio = devicePixelRatioF();
    if (parent && (m_background.isNull() || m_background.size() != size() * ratio)) {
        m_background = QPixmap(size() * ratio);
        m_background.setDevicePixelRatio(ratio);
        // Only the parent's own painting: the label itself and its siblings are left out.
        parent->render(&m_background, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
    }
    {
        QPainter painter(this);
        if (m_background.isNull())
            painter.fillRect(rect(), palette().window());
        else
            painter.drawPixmap(0, 0, m_background);
        if (DrawPlainCaption(painter))
            return;
    }
    QLabel::paintEvent(event);
}

// Laying the caption out again on every paint (what QLabel does) cost more than the rest of the
// label's repaint together.
bool TOpaqueLabel::DrawPlainCaption(QPainter &painter)
{
    const QString caption = text();
    const bool plain = textFormat() == Qt::PlainText
                       || (textFormat() == Qt::AutoText && !Qt::mightBeRichText(caption));
    if (!plain || caption.contains(QLatin1Char('\n')) || caption.contains(QLatin1Char('&'))
        || wordWrap() || indent() > 0 || alignment() != (Qt::AlignLeft | Qt::AlignVCenter)
        || !pixmap().isNull())
        return false;
    if (m_caption.text() != caption) {
        m_caption.setText(caption);
        m_caption.setTextFormat(Qt::PlainText);
        m_caption.prepare(QTransform(), font());
    }
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const qreal top = area.top() + (area.height() - m_caption.size().height()) / 2;
    painter.setFont(font());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.setClipRect(area);
    painter.drawStaticText(QPointF(area.left(), top), m_caption);
    return true;
}

void TOpaqueLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    switch (event->type()) {
    case QEvent::ParentChange:
        WatchParent();
        ForgetBackground();
        break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::FontChange:
        ForgetBackground();
        break;
    default:
        break;
    }
}

void TOpaqueLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    ForgetBackground();
}

void TOpaqueLabel::moveEvent(QMoveEvent *event)
{
    QLabel::moveEvent(event);
    ForgetBackground();
}

bool TOpaqueLabel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_watchedParent) {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::PaletteChange:
        case QEvent::StyleChange:
        case QEvent::FontChange:
        case QEvent::EnabledChange:
            ForgetBackground();
            break;
        default:
            break;
        }
    }
    return QLabel::eventFilter(watched, event);
}

void TOpaqueLabel::WatchParent()
{
    if (m_watchedParent)
        m_watchedParent->removeEventFilter(this);
    m_watchedParent = parentWidget();
    if (m_watchedParent)
        m_watchedParent->installEventFilter(this);
}

void TOpaqueLabel::ForgetBackground()
{
    m_background = QPixmap();
    m_caption = QStaticText();
    update();
}
