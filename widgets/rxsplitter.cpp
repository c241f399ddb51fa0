#include "rxsplitter.h"

#include "accessiblerole.h"

#include <QLayout>
#include <QMetaEnum>

namespace {

constexpr int kBarThickness = 3;

bool IsSide(int align)
{
    return align == TRxSplitter::alTop || align == TRxSplitter::alBottom || align == TRxSplitter::alLeft
        || align == TRxSplitter::alRight;
}

bool IsVerticalAlign(int align)
{
    return align == TRxSplitter::alTop || align == TRxSplitter::alBottom;
}

bool IsHorizontalAlign(int align)
{
    return align == TRxSplitter::alLeft || align == TRxSplitter::alRight;
}

} // namespace

TRxSplitter::TRxSplitter(QWidget *parent)
    : QFrame(parent)
{
    SetAccessibleRole("TRxSplitter", QAccessible::Separator);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    resize(185, kBarThickness);
}

TRxSplitter::~TRxSplitter()
{
    if (m_dragging)
        EndDrag();
}

void TRxSplitter::SetControlFirst(QWidget *control)
{
    m_first = (control == this || (control && control->isWindow())) ? nullptr : control;
    UpdateCursor();
}

void TRxSplitter::SetControlSecond(QWidget *control)
{
    m_second = (control == this || (control && control->isWindow())) ? nullptr : control;
    UpdateCursor();
}

void TRxSplitter::SetAlign(int align)
{
    const bool wasSide = IsSide(m_align);
    m_align = align;
    if (!wasSide && IsVerticalAlign(align))
        setFixedHeight(kBarThickness);
    else if (!wasSide && IsHorizontalAlign(align))
        setFixedWidth(kBarThickness);
    if (IsSide(align) && !m_first && !m_second)
        TakeNeighbourAsFirst();
    UpdateCursor();
}

void TRxSplitter::SetLimitOffset(int limit)
{
    m_topLeftLimit = limit;
    m_bottomRightLimit = limit;
}

// In a laid-out parent the panes beside the bar decide where it sits, whatever top it is given.
void TRxSplitter::SetTop(int top)
{
    move(x(), top);
    if (parentWidget() && parentWidget()->layout())
        parentWidget()->layout()->invalidate();
}

void TRxSplitter::TakeNeighbourAsFirst()
{
    QWidget *parent = parentWidget();
    if (!parent)
        return;
    const QRect g = geometry();
    const QPoint outside = m_align == alTop ? QPoint(g.left(), g.top() - 1)
        : m_align == alBottom              ? QPoint(g.left(), g.bottom() + 1)
        : m_align == alLeft                ? QPoint(g.left() - 1, g.top())
                                           : QPoint(g.right() + 1, g.top());
    QWidget *found = parent->childAt(outside);
    while (found && found->parentWidget() != parent)
        found = found->parentWidget();
    SetControlFirst(found);
}

TRxSplitter::TAlign TRxSplitter::AlignOf(const QWidget *control)
{
    if (!control)
        return alNone;
    if (auto *splitter = qobject_cast<const TRxSplitter *>(control))
        return TAlign(splitter->Align());
    const QVariant value = control->property("Align");
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        bool ok = false;
        const int align = QMetaEnum::fromType<TAlign>().keyToValue(value.toByteArray().constData(), &ok);
        return ok ? TAlign(align) : alNone;
    }
    bool ok = false;
    const int align = value.toInt(&ok);
    return ok && align >= alNone && align <= alClient ? TAlign(align) : alNone;
}

TRxSplitter::TSplitKind TRxSplitter::SplitKind() const
{
    if (!m_first)
        return TSplitKind::None;
    const TAlign first = AlignOf(m_first);
    const TAlign second = AlignOf(m_second);
    const bool secondFree = !m_second || second == alClient;
    TSplitKind kind = TSplitKind::None;
    if (IsVerticalAlign(first) && secondFree)
        kind = TSplitKind::FirstVertical;
    else if (first == alClient && m_second && IsVerticalAlign(second))
        kind = TSplitKind::SecondVertical;
    else if (IsHorizontalAlign(first) && secondFree)
        kind = TSplitKind::FirstHorizontal;
    else if (first == alClient && m_second && IsHorizontalAlign(second))
        kind = TSplitKind::SecondHorizontal;
    const bool resizesFirst = kind == TSplitKind::FirstVertical || kind == TSplitKind::FirstHorizontal;
    if (kind != TSplitKind::None && m_align != (resizesFirst ? first : second))
        return TSplitKind::None;
    return kind;
}

bool TRxSplitter::Vertical() const
{
    const TSplitKind kind = SplitKind();
    return kind == TSplitKind::FirstVertical || kind == TSplitKind::SecondVertical;
}

int TRxSplitter::Along(QPoint point) const
{
    return Vertical() ? point.y() : point.x();
}

int TRxSplitter::Thickness() const
{
    return Vertical() ? height() : width();
}

int TRxSplitter::Origin() const
{
    return Along(mapTo(window(), QPoint(0, 0)));
}

void TRxSplitter::UpdateCursor(bool clamped)
{
    const TSplitKind kind = SplitKind();
    if (clamped)
        setCursor(Qt::ForbiddenCursor);
    else if (kind == TSplitKind::None)
        unsetCursor();
    else
        setCursor(Vertical() ? Qt::SplitVCursor : Qt::SplitHCursor);
}

void TRxSplitter::enterEvent(QEnterEvent *event)
{
    if (!m_dragging)
        UpdateCursor();
    QFrame::enterEvent(event);
}

bool TRxSplitter::AllowChange(QPoint pos)
{
    bool allow = true;
    if (OnPosChanging)
        OnPosChanging(this, pos.x(), pos.y(), allow);
    return allow;
}

// The limit towards the top (or left) is tested first, so when the limits overlap the side of
// that limit the pointer is on decides where the bar lands.
int TRxSplitter::Clamp(QPoint pos, bool *clamped) const
{
    const int wanted = m_origin + Along(pos) - Along(m_pressPos);
    int result = wanted;
    if (wanted < m_min)
        result = m_min;
    else if (wanted > m_max)
        result = m_max;
    if (clamped)
        *clamped = result != wanted;
    return result;
}
