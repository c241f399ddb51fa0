#include "rxlabel.h"

#include <QPainter>

TRxLabel::TRxLabel(QWidget *parent)
    : QLabel(parent)
{
}

void TRxLabel::SetShadowColor(TColor color)
{
    m_shadowColor = color;
    update();
}

void TRxLabel::SetShadowSize(int size)
{
    m_shadowSize = std::max(size, 0);
    update();
}

void TRxLabel::SetShadowPos(int position)
{
    m_shadowPos = position;
    update();
}

void TRxLabel::SetTransparent(bool transparent)
{
    setAutoFillBackground(!transparent);
    update();
}

QPoint TRxLabel::ShadowOffset() const
{
    const int s = m_shadowSize;
    switch (m_shadowPos) {
    case spLeftBottom: return {-s, s};
    case spRightBottom: return {s, s};
    case spRightTop: return {s, -s};
    default: return {-s, -s};
    }
}

void TRxLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const int flags = int(alignment()) | (wordWrap() ? int(Qt::TextWordWrap) : 0) | Qt::TextShowMnemonic;
    if (m_shadowSize > 0) {
        painter.setPen(ToQColor(m_shadowColor));
        painter.drawText(area.translated(ShadowOffset()), flags, text());
    }
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.drawText(area, flags, text());
}
