#include "screwpanel.h"

#include <QPainter>

namespace {

constexpr int kBrightnessPercent = 50;
constexpr int kDegree = 16; // QPainter's arc angles are in sixteenths of a degree

QPen PenOf(TColor color, int width = 1)
{
    return QPen(ToQColor(color), width, Qt::SolidLine, Qt::SquareCap);
}

} // namespace

TScrewPanel::TScrewPanel(QWidget *parent)
    : QWidget(parent)
{
    resize(45, 45);
    SetColor(clBtnFace);
}

void TScrewPanel::SetColor(TColor color)
{
    m_color = color;
    m_highlight = ChangeBrightness(color, kBrightnessPercent);
    m_shadow = ChangeBrightness(color, -kBrightnessPercent);
    update();
}

void TScrewPanel::SetBevelOuter(int cut)
{
    m_bevelOuter = cut;
    update();
}

void TScrewPanel::SetBevelInner(int cut)
{
    m_bevelInner = cut;
    update();
}

void TScrewPanel::SetBevelWidth(int width)
{
    m_bevelWidth = std::max(width, 1);
    update();
}

void TScrewPanel::SetBorderWidth(int width)
{
    m_borderWidth = std::max(width, 0);
    update();
}

void TScrewPanel::SetMargin(int margin)
{
    if (margin >= width() - m_screwSize || margin >= height() - m_screwSize)
        return;
    m_margin = margin;
    update();
}

void TScrewPanel::SetScrewSize(int size)
{
    if (size >= width() || size >= height())
        return;
    m_screwSize = size;
    update();
}

void TScrewPanel::SetShowScrews(bool show)
{
    m_showScrews = show;
    update();
}

void TScrewPanel::SetCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void TScrewPanel::SetCaptionAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

QRect TScrewPanel::DrawBevel(QPainter &painter, QRect rect, int cut) const
{
    if (cut == bvNone)
        return rect;
    const TColor topLeft = cut == bvRaised ? m_highlight : m_shadow;
    const TColor bottomRight = cut == bvRaised ? m_shadow : m_highlight;
    const int w = m_bevelWidth;
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), w), ToQColor(topLeft));
    painter.fillRect(QRect(rect.left(), rect.top(), w, rect.height()), ToQColor(topLeft));
    painter.fillRect(QRect(rect.left(), rect.bottom() - w + 1, rect.width(), w), ToQColor(bottomRight));
    painter.fillRect(QRect(rect.right() - w + 1, rect.top() + w, w, rect.height() - w), ToQColor(bottomRight));
    return rect.adjusted(w, w, -w, -w);
}

void TScrewPanel::DrawScrew(QPainter &painter, QPoint topLeft) const
{
    const int s = m_screwSize;
    const int x = topLeft.x();
    const int y = topLeft.y();
    const QRect head(x, y, 4 * s - 1, 4 * s - 1);
    painter.setPen(PenOf(m_shadow));
    painter.setBrush(ToQColor(clSilver));
    painter.drawEllipse(head);
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(head, 45 * kDegree, 180 * kDegree);
    painter.setPen(PenOf(clGray));
    painter.drawLine(x + s - 1, y + 3 * s - 1, x + 3 * s, y + s - 2);
    painter.setPen(PenOf(m_highlight));
    painter.drawArc(head, 225 * kDegree, 180 * kDegree);
    painter.setPen(PenOf(clWhite));
    painter.drawLine(x + s, y + 3 * s, x + 3 * s + 1, y + s - 1);
}

void TScrewPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QRect rect = this->rect();
    painter.fillRect(rect, ToQColor(m_color));
    rect = DrawBevel(painter, rect, m_bevelOuter);
    rect.adjust(m_borderWidth, m_borderWidth, -m_borderWidth, -m_borderWidth);
    rect = DrawBevel(painter, rect, m_bevelInner);
    if (m_showScrews) {
        const int d = 4 * m_screwSize;
        const int left = rect.left() + m_margin;
        const int top = rect.top() + m_margin;
        const int right = rect.right() + 1 - m_margin - d;
        const int bottom = rect.bottom() + 1 - m_margin - d;
        for (const QPoint corner : {QPoint(left, top), QPoint(right, top), QPoint(left, bottom), QPoint(right, bottom)})
            DrawScrew(painter, corner);
    }
    if (!m_caption.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect, int(m_alignment | Qt::AlignVCenter) | Qt::TextSingleLine, m_caption);
    }
}
