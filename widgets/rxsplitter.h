#pragma once

#include "notifyevent.h"

#include <QFrame>
#include <QPointer>
#include <QRubberBand>

#include <functional>

// The bar between two panes: dragging it shows a line that follows the pointer within the limits,
// and the release resizes one pane (the panes keep their size until then; Escape cancels).
class TRxSplitter : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(int Align READ Align WRITE SetAlign)
    Q_PROPERTY(int TopLeftLimit READ TopLeftLimit WRITE SetTopLeftLimit)
    Q_PROPERTY(int BottomRightLimit READ BottomRightLimit WRITE SetBottomRightLimit)
    Q_PROPERTY(int LimitOffset READ TopLeftLimit WRITE SetLimitOffset STORED false)
    Q_PROPERTY(int Top READ Top WRITE SetTop)

public:
    /// How a control sits in its parent. Other widgets can state theirs in a property "Align",
    /// as a number or as the name ("alTop").
    enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
    Q_ENUM(TAlign)
    enum class TSplitKind { None, FirstVertical, SecondVertical, FirstHorizontal, SecondHorizontal };

    /// X and Y are the pointer's position in the splitter; clearing AllowChange refuses the move.
    using TSplitterMoveEvent = std::function<void(QObject *sender, int X, int Y, bool &AllowChange)>;

    explicit TRxSplitter(QWidget *parent = nullptr);
    ~TRxSplitter() override;

    QWidget *ControlFirst() const { return m_first; }
    /// Refuses the splitter itself and a window (the property becomes empty).
    void SetControlFirst(QWidget *control);
    QWidget *ControlSecond() const { return m_second; }
    void SetControlSecond(QWidget *control);
    int Align() const { return m_align; }
    void SetAlign(int align);
    int TopLeftLimit() const { return m_topLeftLimit; }
    void SetTopLeftLimit(int limit) { m_topLeftLimit = limit; }
    int BottomRightLimit() const { return m_bottomRightLimit; }
    void SetBottomRightLimit(int limit) { m_bottomRightLimit = limit; }
    void SetLimitOffset(int limit);
    int Top() const { return y(); }
    void SetTop(int top);

    TSplitKind SplitKind() const;
    bool IsDragging() const { return m_dragging; }
    /// The line's position along the axis of movement, in the window's coordinates.
    int LinePosition() const { return m_linePos; }

    static TAlign AlignOf(const QWidget *control);

    TSplitterMoveEvent OnPosChanging;
    TNotifyEvent OnPosChanged;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool Vertical() const;
    int Along(QPoint point) const;
    int Thickness() const;
    int Origin() const;
    bool AllowChange(QPoint pos);
    int Clamp(QPoint pos, bool *clamped) const;
    void StartDrag(QPoint pos);
    void MoveLine(int position);
    void EndDrag();
    void ApplySize(int delta);
    void UpdateCursor(bool clamped = false);
    void TakeNeighbourAsFirst();

    QPointer<QWidget> m_first;
    QPointer<QWidget> m_second;
    int m_align = alNone;
    int m_topLeftLimit = 20;
    int m_bottomRightLimit = 20;

    bool m_dragging = false;
    QPoint m_pressPos;
    int m_origin = 0;
    int m_min = 0;
    int m_max = 0;
    int m_linePos = -1;
    bool m_savedShowHint = true;
    QPointer<QWidget> m_keyTarget;
    QPointer<QRubberBand> m_line;
};
