#include "statussection.h"

#include "accessiblerole.h"

#include <QMouseEvent>
#include <QPainter>

TStatusSection::TStatusSection(QWidget *parent)
    : QWidget(parent)
{
    SetAccessibleRole("TStatusSection", QAccessible::StaticText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void TStatusSection::SetText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleDescription(text);
    updateGeometry();
    update();
}

void TStatusSection::SetClickable(bool clickable)
{
    m_clickable = clickable;
    if (clickable)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

QSize TStatusSection::sizeHint() const
{
    // One pixel more: the advance is rounded, and the ellipsis must not appear where the text fits.
    return {fontMetrics().horizontalAdvance(m_text) + 2 * kMargin + 1, fontMetrics().height()};
}

QSize TStatusSection::minimumSizeHint() const
{
    return {fontMetrics().horizontalAdvance(QStringLiteral("COM1…")) + 2 * kMargin, fontMetrics().height()};
}

void TStatusSection::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = rect().adjusted(kMargin, 0, -kMargin, 0);
    painter.drawText(area, Qt::AlignLeading | Qt::AlignVCenter | Qt::TextSingleLine,
                     fontMetrics().elidedText(m_text, Qt::ElideMiddle, area.width()));
}

// Taking the press makes this section the receiver of the release that completes the click.
void TStatusSection::mousePressEvent(QMouseEvent *event)
{
    event->setAccepted(m_clickable);
}

void TStatusSection::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_clickable && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
}
