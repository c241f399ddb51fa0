#include "panel.h"

#include <algorithm>

TPanel::TPanel(QWidget *parent)
    : QFrame(parent)
{
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
    m_height = std::max(0, height);
    ApplyHeight();
}

void TPanel::ApplyHeight()
{
    if (KeepsHeight()) {
        setFixedHeight(m_height);
        return;
    }
    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
}

bool TPanel::KeepsHeight() const
{
    return m_align == alTop || m_align == alBottom;
}
