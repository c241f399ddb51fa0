#pragma once

#include "memolines.h"
#include "rowpainter.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>
#include <vector>

class QMenu;

// A read-only text box over rows of bytes (a TRowSource): the receive box and the value columns.
// Paints only the rows in sight and repaints at most once a frame however fast the rows change,
// so its cost does not depend on how much it holds. Wraps at its width, keeps the newest row in
// view unless the user has scrolled away from the end, and offers what a read-only box does:
// mouse and keyboard selection, Ctrl+C, a context menu with Copy and Select All, and its text to
// screen readers through Qt's accessibility interface.
class TMemoView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // A position in the rows; col counts characters into the row.
    struct TPos
    {
        int row = 0;
        int col = 0;
        friend bool operator==(const TPos &, const TPos &) = default;
        friend auto operator<=>(const TPos &, const TPos &) = default;
    };
    // A stretch of text painted on a background of its own (a match of a search); To is not in it.
    struct TMark
    {
        TPos From;
        TPos To;
        bool Current = false;
    };

    static constexpr int kFrameMs = 16;
    static constexpr int kFrameSlackMs = 4;
    static constexpr int kScrollBarMs = 250;
    static constexpr int kMargin = 2;
    static constexpr int kFillBand = 64;

    explicit TMemoView(QWidget *parent = nullptr);
    ~TMemoView() override;

    // The view's own rows, used until SetSource names others.
    TMemoLines &Lines() { return m_lines; }
    // Shows source instead of the view's own rows; not owned, must outlive the view or be
    // replaced first. nullptr goes back to the view's own rows.
    void SetSource(TRowSource *source);
    TRowSource &Source() const { return *m_source; }

    bool HasSelection() const { return m_anchor != m_cursor; }
    QString SelectedText() const;
    void SelectAll();
    void Select(TPos anchor, TPos cursor);
    TPos Cursor() const { return m_cursor; }
    TPos Anchor() const { return m_anchor; }
    void Copy() const;
    int TopRow() const { return m_top; }
    int VisibleRows() const;
    // Builds the context menu; the caller owns it.
    QMenu *CreateContextMenu();
    // Actions offered in the context menu below the standard ones, each call's as a group of its
    // own; not owned, and they must live as long as the view.
    void AddMenuActions(const QList<QAction *> &actions);
    // Scrolls as little as it takes to show the row, and stays there as new rows arrive until the
    // user scrolls back to the end.
    void ShowRow(int row);
    // Asked at each paint for the marks that touch the rows from first to end (not included).
    std::function<void(int first, int end, std::vector<TMark> &marks)> MarksIn;

    // The whole text with a newline after every line break, and offsets into it.
    QString PlainText() const;
    int OffsetOf(TPos pos) const;
    TPos PosAtOffset(int offset) const;
    using TPick = TRowPainter::TPick;
    TPos PosAt(QPoint viewportPoint, TPick pick = TPick::Caret) const;
    QRect CharRect(TPos pos) const;

signals:
    // New rows were put on screen (painted when the event loop next paints).
    void FrameApplied();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void ScheduleUpdate(int firstChangedRow);
    void RowsDropped(int count);
    void ApplyUpdate();
    void UpdateWrap();
    void ScrollTo(int top);
    void SyncScrollBar();
    int MaxTopRow() const;
    void MoveCursor(TPos pos, bool extend);
    bool MoveByKey(int key, Qt::KeyboardModifiers modifiers);
    void EnsureVisible(int row);
    QRect SpanRect(int row, const QByteArray &text, TPos from, TPos to, bool pastEnd) const;
    TPos Clamped(TPos pos) const;

    TMemoLines m_lines;
    TRowSource *m_source = &m_lines;
    QTimer m_frame;
    QTimer m_barSync;
    QElapsedTimer m_sinceFrame;
    QElapsedTimer m_sinceBarSync;
    TRowPainter m_rowPainter;
    std::vector<TMark> m_marks;
    QList<QList<QAction *>> m_menuGroups;
    TPos m_anchor;
    TPos m_cursor;
    int m_knownRows = 0;
    int m_dirtyFrom = INT_MAX;
    int m_top = 0;
    bool m_followEnd = true;
    bool m_syncingBar = false;
};
