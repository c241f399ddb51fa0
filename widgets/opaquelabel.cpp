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
    if (!plain || wordWrap() || indent() > 0 || alignment() != (Qt::AlignLeft | Qt::AlignVCenter)
        || !pixmap().isNull() || !PrepareCaption(caption))
        return false;
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QFontMetricsF metrics(font());
    const qreal baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.setClipRect(area);
    painter.drawGlyphRun(QPointF(area.left(), baseline), m_caption);
    return true;
}

bool TOpaqueLabel::PrepareCaption(const QString &caption)
{
    if (caption == m_captionText && !m_caption.glyphIndexes().isEmpty())
        return true;
    m_captionText = caption;
    m_caption = QGlyphRun();
    if (caption.isEmpty() || caption.contains(QLatin1Char('\n')) || caption.contains(QLatin1Char('&')))
        return false;
    if (!m_rawFont.isValid())
        m_rawFont = QRawFont::fromFont(font());
    if (!m_rawFont.isValid())
        return false;
    const QList<quint32> glyphs = m_rawFont.glyphIndexesForString(caption);
    if (glyphs.size() != caption.size() || glyphs.contains(0u))
        return false;
    const QList<QPointF> advances = m_rawFont.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    qreal x = 0;
    for (const QPointF &advance : advances) {
        positions.append(QPointF(x, 0));
        x += advance.x();
    }
    m_caption.setRawFont(m_rawFont);
    m_caption.setGlyphIndexes(glyphs);
    m_caption.setPositions(positions);
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
    m_rawFont = QRawFont();
    m_captionText.clear();
    m_caption = QGlyphRun();
    update();
}
