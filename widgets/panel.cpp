#include "panel.h"

#include "accessiblerole.h"

#include <QLayout>

#include <algorithm>

TPanel::TPanel(QWidget *parent)
    : QFrame(parent)
{
    SetAccessibleRole("TPanel", QAccessible::Pane);
    setFrameShape(QFrame::NoFrame);
}

void TPanel::SetAlign(TAlign align)
{
    m_align = align;
    ApplyHeight();
}

int TPanel::Height() const
{
    return KeepsHeight() ? m_height : height();
}

void TPanel::SetHeight(int height)
{
    m_height = std::clamp(height, 0, QWIDGETSIZE_MAX);
    ApplyHeight();
}

QSize TPanel::sizeHint() const
{
    QSize hint = QFrame::sizeHint();
    if (KeepsHeight())
        hint.setHeight(m_height);
    return hint;
}

// Freely placed contents say nothing about what they need, so such a panel never gives way.
QSize TPanel::minimumSizeHint() const
{
    QSize hint = QFrame::minimumSizeHint();
    if (KeepsHeight())
        hint.setHeight(layout() ? std::min(m_height, hint.height()) : m_height);
    return hint;
}

void TPanel::ApplyHeight()
{
    // A client-aligned panel is the one that stretches, and the first to shrink to its minimum.
    QSizePolicy policy = sizePolicy();
    policy.setVerticalStretch(m_align == alClient ? 1 : 0);
    setSizePolicy(policy);
    setMinimumHeight(0);
    setMaximumHeight(KeepsHeight() ? m_height : QWIDGETSIZE_MAX);
    if (KeepsHeight() && !(parentWidget() && parentWidget()->layout()))
        resize(width(), m_height);
    updateGeometry();
}

bool TPanel::KeepsHeight() const
{
    return m_align == alTop || m_align == alBottom;
}
