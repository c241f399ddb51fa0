#include "rxsplitter.h"

#include "apphints.h"

#include <QKeyEvent>
#include <QLayout>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QRubberBand>

namespace {

// Sets the height or width as the stored-properties engine would, so a pane that keeps its own
// size (a Height property) stays consistent; a pane in a layout is pinned to the new size.
void SetExtent(QWidget *control, bool vertical, int size)
{
    const char *name = vertical ? "Height" : "Width";
    const QMetaObject *meta = control->metaObject();
    const int index = meta->indexOfProperty(name);
    if (index >= 0 && meta->property(index).isWritable())
        control->setProperty(name, size);
    else if (control->parentWidget() && control->parentWidget()->layout())
        vertical ? control->setFixedHeight(size) : control->setFixedWidth(size);
    else
        vertical ? control->resize(control->width(), size) : control->resize(size, control->height());
}

void Realign(QWidget *parent)
{
    if (parent && parent->layout())
        parent->layout()->activate();
}

} // namespace

void TRxSplitter::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && !m_dragging && SplitKind() != TSplitKind::None) {
        StartDrag(event->position().toPoint());
        return;
    }
    QFrame::mousePressEvent(event);
}

void TRxSplitter::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging) {
        QFrame::mouseMoveEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (!AllowChange(pos)) {
        setCursor(Qt::ForbiddenCursor);
        return;
    }
    bool clamped = false;
    const int position = Clamp(pos, &clamped);
    UpdateCursor(clamped);
    MoveLine(position);
}

void TRxSplitter::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging || event->button() != Qt::LeftButton) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    const int position = AllowChange(pos) ? Clamp(pos, nullptr) : m_linePos;
    EndDrag();
    ApplySize(position - m_origin);
    Raise(OnPosChanged, this);
}

// A bar that disappears mid-drag gets no release; leaving the drag open would keep hints off.
void TRxSplitter::hideEvent(QHideEvent *event)
{
    if (m_dragging)
        EndDrag();
    QFrame::hideEvent(event);
}

bool TRxSplitter::eventFilter(QObject *watched, QEvent *event)
{
    if (m_dragging && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        EndDrag();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void TRxSplitter::StartDrag(QPoint pos)
{
    m_pressPos = pos;
    m_dragging = true;
    m_origin = Origin();
    const int extent = Vertical() ? window()->height() : window()->width();
    m_min = m_topLeftLimit;
    m_max = extent - m_bottomRightLimit - Thickness();
    m_savedShowHint = TAppHints::Instance().ShowHint();
    TAppHints::Instance().SetShowHint(false);
    m_keyTarget = window()->focusWidget() ? window()->focusWidget() : window();
    m_keyTarget->installEventFilter(this);
    m_line = new QRubberBand(QRubberBand::Line, window());
    m_linePos = -1;
    MoveLine(m_origin);
}

// The line goes through the bar's centre at the given position, never outside the window.
void TRxSplitter::MoveLine(int position)
{
    if (position == m_linePos)
        return;
    m_linePos = position;
    const int thickness = Thickness();
    const int lineWidth = thickness < 4 ? 2 : thickness - 2;
    const int start = position + thickness / 2 - lineWidth / 2;
    const QPoint corner = mapTo(window(), QPoint(0, 0));
    const QRect line = Vertical() ? QRect(corner.x(), start, width(), lineWidth)
                                  : QRect(start, corner.y(), lineWidth, height());
    if (!m_line)
        return;
    m_line->setGeometry(line.intersected(window()->rect()));
    m_line->show();
    m_line->raise();
}

void TRxSplitter::EndDrag()
{
    m_dragging = false;
    // The drag may end inside the window's own hide, which walks a copy of the window's children:
    // deleting the line there would leave that walk a dangling pointer.
    if (m_line) {
        m_line->hide();
        m_line->setParent(nullptr);
        m_line->deleteLater();
        m_line = nullptr;
    }
    if (m_keyTarget)
        m_keyTarget->removeEventFilter(this);
    m_keyTarget = nullptr;
    TAppHints::Instance().SetShowHint(m_savedShowHint);
    UpdateCursor();
}

void TRxSplitter::ApplySize(int delta)
{
    const TSplitKind kind = SplitKind();
    if (kind == TSplitKind::None)
        return;
    const bool vertical = Vertical();
    const bool resizesFirst = kind == TSplitKind::FirstVertical || kind == TSplitKind::FirstHorizontal;
    QWidget *control = resizesFirst ? m_first : m_second;
    const TAlign far = vertical ? alBottom : alRight;
    const int sign = (AlignOf(m_first) == far || AlignOf(m_second) == far) ? -1 : 1;
    const int current = vertical ? control->height() : control->width();
    SetExtent(control, vertical, std::max(current + sign * delta, 1));
    Realign(control->parentWidget());
    Realign(parentWidget());
}
