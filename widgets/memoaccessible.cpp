#include "memoaccessible.h"

#include "memoview.h"

#include <QScrollBar>

namespace {

QAccessibleInterface *CreateMemoAccessible(const QString &className, QObject *object)
{
    auto *view = qobject_cast<TMemoView *>(object);
    if (className == QLatin1String("TMemoView") && view)
        return new TMemoAccessible(view);
    return nullptr;
}

} // namespace

TMemoAccessible::TMemoAccessible(TMemoView *view)
    : QAccessibleWidget(view, QAccessible::EditableText)
{
}

void TMemoAccessible::Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(CreateMemoAccessible);
        return true;
    }();
    (void)installed;
}

TMemoView *TMemoAccessible::View() const
{
    return static_cast<TMemoView *>(widget());
}

QAccessible::State TMemoAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString TMemoAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return View()->PlainText();
    return QAccessibleWidget::text(kind);
}

void *TMemoAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

void TMemoAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || !View()->HasSelection())
        return;
    *startOffset = View()->OffsetOf(std::min(View()->Anchor(), View()->Cursor()));
    *endOffset = View()->OffsetOf(std::max(View()->Anchor(), View()->Cursor()));
}

int TMemoAccessible::selectionCount() const
{
    return View()->HasSelection() ? 1 : 0;
}

void TMemoAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void TMemoAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        View()->Select(View()->Cursor(), View()->Cursor());
}

void TMemoAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        View()->Select(View()->PosAtOffset(startOffset), View()->PosAtOffset(endOffset));
}

int TMemoAccessible::cursorPosition() const
{
    return View()->OffsetOf(View()->Cursor());
}

void TMemoAccessible::setCursorPosition(int position)
{
    const TMemoView::TPos pos = View()->PosAtOffset(position);
    View()->Select(pos, pos);
}

QString TMemoAccessible::text(int startOffset, int endOffset) const
{
    const QString all = View()->PlainText();
    startOffset = std::clamp(startOffset, 0, int(all.size()));
    endOffset = std::clamp(endOffset, startOffset, int(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

int TMemoAccessible::characterCount() const
{
    return int(View()->PlainText().size());
}

QRect TMemoAccessible::characterRect(int offset) const
{
    const QRect local = View()->CharRect(View()->PosAtOffset(offset));
    return QRect(View()->viewport()->mapToGlobal(local.topLeft()), local.size());
}

int TMemoAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint local = View()->viewport()->mapFromGlobal(point);
    return View()->OffsetOf(View()->PosAt(local, TMemoView::TPick::Character));
}

void TMemoAccessible::scrollToSubstring(int startIndex, int)
{
    const int row = View()->PosAtOffset(startIndex).row;
    View()->verticalScrollBar()->setValue(row);
}

QString TMemoAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset;
    return QString();
}
