#include "memoview.h"

#include "memoaccessible.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

namespace {

// Matches of a search: a pale yellow, the current one orange, as editors mark them.
const QColor kMarkColour(0xFF, 0xEB, 0x78);
const QColor kCurrentMarkColour(0xFF, 0x9A, 0x3C);

} // namespace

TMemoView::TMemoView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    TMemoAccessible::Install();
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    // paintEvent fills what it paints; Qt's own fill first would paint every pixel twice.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_frame.setSingleShot(true);
    connect(&m_frame, &QTimer::timeout, this, &TMemoView::ApplyUpdate);
    m_barSync.setSingleShot(true);
    connect(&m_barSync, &QTimer::timeout, this, &TMemoView::SyncScrollBar);
    SetSource(nullptr);
    UpdateWrap();
}

TMemoView::~TMemoView()
{
    m_source->OnChanged = nullptr;
    m_source->OnGone = nullptr;
    m_source->OnDropped = nullptr;
}

void TMemoView::SetSource(TRowSource *source)
{
    m_source->OnChanged = nullptr;
    m_source->OnGone = nullptr;
    m_source->OnDropped = nullptr;
    m_source = source ? source : &m_lines;
    m_source->OnChanged = [this](int firstChangedRow) { ScheduleUpdate(firstChangedRow); };
    m_source->OnDropped = [this](int count) { RowsDropped(count); };
    if (m_source != &m_lines)
        m_source->OnGone = [this] {
            m_source = &m_lines;
            SetSource(nullptr);
        };
    m_anchor = m_cursor = TPos{};
    m_knownRows = 0;
    UpdateWrap();
    ScheduleUpdate(0);
}

// A change is shown within kFrameMs + kFrameSlackMs of its call, and no sooner than kFrameMs
// after the previous frame. The slack lets the change of a wake-up that comes just after the
// frame is due (a slow line is read about once a frame) show it, instead of a timer of its own
// waking the program a moment earlier.
void TMemoView::ScheduleUpdate(int firstChangedRow)
{
    m_dirtyFrom = std::min(m_dirtyFrom, firstChangedRow);
    const qint64 sinceFrame = m_sinceFrame.isValid() ? m_sinceFrame.elapsed() : kFrameMs;
    if (sinceFrame >= kFrameMs) {
        if (!m_frame.isActive() || m_frame.remainingTime() > 0)
            m_frame.start(0);
    } else if (!m_frame.isActive()) {
        m_frame.start(int(kFrameMs - sinceFrame + kFrameSlackMs));
    }
}

// The rows in sight and the selection move up with their text, so a view scrolled back stays on
// what it shows; only rows that are gone leave it.
void TMemoView::RowsDropped(int count)
{
    const auto moved = [count](TPos pos) { return pos.row >= count ? TPos{pos.row - count, pos.col} : TPos{}; };
    m_anchor = moved(m_anchor);
    m_cursor = moved(m_cursor);
    m_knownRows = std::max(0, m_knownRows - count);
    if (m_top < count)
        ScheduleUpdate(0);
    m_top = std::max(0, m_top - count);
    if (m_dirtyFrom != INT_MAX)
        m_dirtyFrom = std::max(0, m_dirtyFrom - count);
}

// Runs at most once a frame: a burst of blocks costs one scroll (a copy of the pixels) and a paint
// of the rows that changed, which while following the end are the few newest ones.
void TMemoView::ApplyUpdate()
{
    m_sinceFrame.start();
    const int rows = m_source->RowCount();
    if (rows < m_knownRows)
        m_anchor = m_cursor = Clamped(TPos{});
    m_knownRows = rows;
    ScrollTo(m_followEnd ? MaxTopRow() : std::min(m_top, MaxTopRow()));
    const int top = kMargin + (std::max(m_dirtyFrom, m_top) - m_top) * fontMetrics().lineSpacing();
    m_dirtyFrom = INT_MAX;
    if (top < viewport()->height())
        viewport()->update(0, top, viewport()->width(), viewport()->height() - top);
    // While rows keep coming a frame brings the bar up to date; the timer (a frame later than
    // that) catches the last change.
    const qint64 sinceBarSync = m_sinceBarSync.isValid() ? m_sinceBarSync.elapsed() : kScrollBarMs;
    if (sinceBarSync >= kScrollBarMs)
        SyncScrollBar();
    else if (!m_barSync.isActive())
        m_barSync.start(int(kScrollBarMs - sinceBarSync + kFrameMs));
    emit FrameApplied();
}

// Moves the picture by whole rows; only the rows that come into sight are painted anew.
void TMemoView::ScrollTo(int top)
{
    const int delta = top - m_top;
    m_top = top;
    if (delta != 0 && std::abs(delta) < VisibleRows())
        viewport()->scroll(0, -delta * fontMetrics().lineSpacing());
    else if (delta != 0)
        viewport()->update();
}

// The scroll bar trails the rows by up to a quarter of a second: repainting it costs more than the
// rows, its groove being tall enough for Qt to hand its fill to other threads.
void TMemoView::SyncScrollBar()
{
    m_barSync.stop();
    m_sinceBarSync.start();
    QScrollBar *bar = verticalScrollBar();
    m_syncingBar = true;
    bar->setRange(0, MaxTopRow());
    bar->setPageStep(VisibleRows());
    bar->setSingleStep(1);
    bar->setValue(m_top);
    m_syncingBar = false;
}

// Only the user moves the bar (our own syncs are ignored); at its end the view follows again.
void TMemoView::scrollContentsBy(int, int)
{
    if (m_syncingBar)
        return;
    QScrollBar *bar = verticalScrollBar();
    m_followEnd = bar->value() >= bar->maximum();
    ScrollTo(bar->value());
}

int TMemoView::MaxTopRow() const
{
    return std::max(0, m_source->RowCount() - VisibleRows());
}

void TMemoView::UpdateWrap()
{
    m_rowPainter.SetFont(font());
    const int rowsBefore = m_source->RowCount();
    m_source->SetWrap((viewport()->width() - 2 * kMargin) * TRowPainter::kSubPixels, m_rowPainter.Widths());
    if (m_source->RowCount() != rowsBefore)
        m_anchor = m_cursor = TPos{};
}

int TMemoView::VisibleRows() const
{
    return std::max(1, (viewport()->height() - kMargin) / std::max(1, fontMetrics().lineSpacing()));
}

void TMemoView::paintEvent(QPaintEvent *event)
{
    const QRect area = event->rect();
    QPainter painter(viewport());
    // Qt splits a fill taller than about a hundred pixel rows across its thread pool, and the
    // hand-over wakes threads and puts this one to sleep on every frame: bands stay below that.
    const QColor base = viewport()->palette().color(QPalette::Base);
    for (int top = area.top(); top <= area.bottom(); top += kFillBand)
        painter.fillRect(QRect(area.left(), top, area.width(), std::min(kFillBand, area.bottom() + 1 - top)), base);
    const int lineSpacing = std::max(1, fontMetrics().lineSpacing());
    const int first = TopRow() + std::max(0, area.top() - kMargin) / lineSpacing;
    const int last = std::min(m_source->RowCount(), TopRow() + (area.bottom() - kMargin) / lineSpacing + 1);
    const auto rowTop = [&](int row) { return kMargin + (row - TopRow()) * lineSpacing; };
    const QPalette &colours = viewport()->palette();
    const TPos from = std::min(m_anchor, m_cursor);
    const TPos to = std::max(m_anchor, m_cursor);
    const int selectedFirst = from != to ? std::max(first, from.row) : 0;
    const int selectedEnd = from != to ? std::min(last, to.row + 1) : 0;

    m_marks.clear();
    if (MarksIn)
        MarksIn(first, last, m_marks);
    // The text of all rows goes out as one glyph run: a run per row cost more than its glyphs.
    painter.setPen(colours.color(QPalette::Text));
    for (int row = first; row < last; ++row) {
        const QByteArray text = m_source->RowText(row);
        for (const TMark &mark : m_marks)
            if (mark.From.row <= row && row <= mark.To.row)
                painter.fillRect(SpanRect(row, text, mark.From, mark.To, false),
                                 mark.Current ? kCurrentMarkColour : kMarkColour);
        if (row >= selectedFirst && row < selectedEnd)
            painter.fillRect(SpanRect(row, text, from, to, true), colours.color(QPalette::Highlight));
        m_rowPainter.QueueBytes(painter, text, 0, int(text.size()), QPoint(kMargin, rowTop(row)));
    }
    m_rowPainter.DrawQueued(painter);
    painter.setPen(colours.color(QPalette::HighlightedText));
    for (int row = selectedFirst; row < selectedEnd; ++row) {
        const QByteArray text = m_source->RowText(row);
        const int begin = row == from.row ? std::min<int>(from.col, int(text.size())) : 0;
        const int end = row == to.row ? std::min<int>(to.col, int(text.size())) : int(text.size());
        m_rowPainter.QueueBytes(painter, text, begin, end, QPoint(kMargin, rowTop(row)));
    }
    m_rowPainter.DrawQueued(painter);
}

// The part of the row's text from one position to the other; a span that goes on past the row's
// end covers a blank's width more there.
QRect TMemoView::SpanRect(int row, const QByteArray &text, TPos from, TPos to, bool pastEnd) const
{
    const int left = row == from.row ? m_rowPainter.XOf(text, from.col) : 0;
    int right = m_rowPainter.XOf(text, row == to.row ? to.col : int(text.size()));
    if (row != to.row && pastEnd)
        right = m_rowPainter.XOf(text + ' ', int(text.size()) + 1);
    const int lineSpacing = std::max(1, fontMetrics().lineSpacing());
    return QRect(kMargin + left, kMargin + (row - TopRow()) * lineSpacing, right - left, lineSpacing);
}

void TMemoView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateWrap();
    ScheduleUpdate(0);
}

void TMemoView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateWrap();
        ScheduleUpdate(0);
    }
}

TMemoView::TPos TMemoView::Clamped(TPos pos) const
{
    const int rows = m_source->RowCount();
    pos.row = std::clamp(pos.row, 0, std::max(0, rows - 1));
    pos.col = std::clamp(pos.col, 0, int(m_source->RowText(pos.row).size()));
    return pos;
}

TMemoView::TPos TMemoView::PosAt(QPoint point, TPick pick) const
{
    const int lineSpacing = std::max(1, fontMetrics().lineSpacing());
    const int offsetY = point.y() - kMargin;
    const int row = TopRow() + (offsetY < 0 ? -1 : offsetY / lineSpacing);
    TPos pos = Clamped(TPos{row, 0});
    if (row >= m_source->RowCount())
        return Clamped(TPos{row, INT_MAX});
    pos.col = m_rowPainter.ColumnAt(m_source->RowText(pos.row), point.x() - kMargin, pick);
    return pos;
}

QRect TMemoView::CharRect(TPos pos) const
{
    pos = Clamped(pos);
    const QByteArray text = m_source->RowText(pos.row);
    const int lineSpacing = fontMetrics().lineSpacing();
    const int left = m_rowPainter.XOf(text, pos.col);
    return QRect(kMargin + left, kMargin + (pos.row - TopRow()) * lineSpacing, m_rowPainter.XOf(text, pos.col + 1) - left,
                 lineSpacing);
}

void TMemoView::Select(TPos anchor, TPos cursor)
{
    m_anchor = Clamped(anchor);
    m_cursor = Clamped(cursor);
    viewport()->update();
}

void TMemoView::SelectAll()
{
    const int last = std::max(0, m_source->RowCount() - 1);
    Select(TPos{}, TPos{last, int(m_source->RowText(last).size())});
}

QString TMemoView::SelectedText() const
{
    const TPos from = Clamped(std::min(m_anchor, m_cursor));
    const TPos to = Clamped(std::max(m_anchor, m_cursor));
    QByteArray text;
    for (int row = from.row; row <= to.row; ++row) {
        const QByteArray rowText = m_source->RowText(row);
        const int first = row == from.row ? from.col : 0;
        const int end = row == to.row ? to.col : int(rowText.size());
        text += rowText.mid(first, end - first);
        if (row < to.row && m_source->RowEndsLine(row))
            text += '\n';
    }
    return QString::fromLatin1(text);
}

void TMemoView::Copy() const
{
    if (HasSelection())
        QApplication::clipboard()->setText(SelectedText());
}

QString TMemoView::PlainText() const
{
    QByteArray text;
    for (int row = 0; row < m_source->RowCount(); ++row) {
        text += m_source->RowText(row);
        if (m_source->RowEndsLine(row))
            text += '\n';
    }
    return QString::fromLatin1(text);
}

int TMemoView::OffsetOf(TPos pos) const
{
    pos = Clamped(pos);
    int offset = 0;
    for (int row = 0; row < pos.row; ++row)
        offset += int(m_source->RowText(row).size()) + (m_source->RowEndsLine(row) ? 1 : 0);
    return offset + pos.col;
}

TMemoView::TPos TMemoView::PosAtOffset(int offset) const
{
    const int rows = m_source->RowCount();
    for (int row = 0; row < rows; ++row) {
        const int length = int(m_source->RowText(row).size());
        const int span = length + (m_source->RowEndsLine(row) ? 1 : 0);
        if (offset <= length || row == rows - 1)
            return Clamped(TPos{row, offset});
        offset -= span;
    }
    return TPos{};
}

void TMemoView::MoveCursor(TPos pos, bool extend)
{
    m_cursor = Clamped(pos);
    if (!extend)
        m_anchor = m_cursor;
    EnsureVisible(m_cursor.row);
    viewport()->update();
}

void TMemoView::EnsureVisible(int row)
{
    int top = std::clamp(m_top, row - VisibleRows() + 1, row);
    top = std::clamp(top, 0, MaxTopRow());
    m_followEnd = top >= MaxTopRow();
    ScrollTo(top);
    SyncScrollBar();
}

void TMemoView::ShowRow(int row)
{
    EnsureVisible(row);
    m_followEnd = false;
}

void TMemoView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    MoveCursor(PosAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void TMemoView::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton)
        MoveCursor(PosAt(event->position().toPoint()), true);
}

void TMemoView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy))
        Copy();
    else if (event->matches(QKeySequence::SelectAll))
        SelectAll();
    else if (!MoveByKey(event->key(), event->modifiers()))
        return QAbstractScrollArea::keyPressEvent(event);
}

bool TMemoView::MoveByKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool extend = modifiers & Qt::ShiftModifier;
    const bool control = modifiers & Qt::ControlModifier;
    TPos pos = m_cursor;
    switch (key) {
    case Qt::Key_Left: pos = pos.col > 0 ? TPos{pos.row, pos.col - 1} : TPos{pos.row - 1, INT_MAX}; break;
    case Qt::Key_Right:
        pos = pos.col < m_source->RowText(pos.row).size() ? TPos{pos.row, pos.col + 1} : TPos{pos.row + 1, 0};
        break;
    case Qt::Key_Up: --pos.row; break;
    case Qt::Key_Down: ++pos.row; break;
    case Qt::Key_PageUp: pos.row -= VisibleRows(); break;
    case Qt::Key_PageDown: pos.row += VisibleRows(); break;
    case Qt::Key_Home: pos = control ? TPos{} : TPos{pos.row, 0}; break;
    case Qt::Key_End: pos = control ? TPos{INT_MAX, INT_MAX} : TPos{pos.row, INT_MAX}; break;
    default: return false;
    }
    if (pos.row < 0)
        pos = TPos{};
    MoveCursor(pos, extend);
    return true;
}

QMenu *TMemoView::CreateContextMenu()
{
    auto *menu = new QMenu(this);
    QAction *copy = menu->addAction(tr("&Copy"), this, &TMemoView::Copy);
    copy->setEnabled(HasSelection());
    copy->setObjectName(QStringLiteral("copy"));
    menu->addAction(tr("Select &All"), this, &TMemoView::SelectAll)->setObjectName(QStringLiteral("selectAll"));
    for (const QList<QAction *> &group : m_menuGroups) {
        menu->addSeparator();
        menu->addActions(group);
    }
    return menu;
}

void TMemoView::AddMenuActions(const QList<QAction *> &actions)
{
    m_menuGroups.append(actions);
}

void TMemoView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}
