#include "windowplacement.h"

#include <QStyle>
#include <QVariant>
#include <QWidget>

namespace {

const char *const kMinPosition = "velorandMinPosition";
const char *const kMaxPosition = "velorandMaxPosition";

QPoint StoredPoint(const QWidget *window, const char *name, QPoint fallback)
{
    const QVariant value = window->property(name);
    return value.isValid() ? value.toPoint() : fallback;
}

void ApplyNormalRect(QWidget *window, const QRect &normal)
{
    // Qt sets the normal rectangle of a maximized or minimized window only by leaving that state.
    const Qt::WindowStates state = window->windowState();
    const Qt::WindowStates special = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    if (!(state & special)) {
        window->setGeometry(normal);
        return;
    }
    window->setWindowState(state & ~special);
    window->setGeometry(normal);
    window->setWindowState(state);
}

QMargins KnownFrame(const QWidget *window)
{
    if (window->windowFlags() & Qt::FramelessWindowHint)
        return {};
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

} // namespace

namespace WindowPlacement {

TPlacementRecord Read(const QWidget *window)
{
    TPlacementRecord record;
    if (window->isMinimized()) {
        record.ShowCmd = TPlacementRecord::kShowMinimized;
        if (window->windowState() & Qt::WindowMaximized)
            record.Flags = TPlacementRecord::kRestoreToMaximized;
    } else if (window->isMaximized()) {
        record.ShowCmd = TPlacementRecord::kShowMaximized;
    }
    const TPlacementRecord defaults;
    record.MinPosition = StoredPoint(window, kMinPosition, defaults.MinPosition);
    record.MaxPosition = StoredPoint(window, kMaxPosition, defaults.MaxPosition);
    record.Normal = window->normalGeometry().isValid() ? window->normalGeometry() : window->geometry();
    return record;
}

void WritePositions(QWidget *window, const TPlacementRecord &record)
{
    window->setProperty(kMinPosition, record.MinPosition);
    window->setProperty(kMaxPosition, record.MaxPosition);
    if (record.Normal != Read(window).Normal)
        ApplyNormalRect(window, record.Normal);
}

QPoint FrameSize(const QWidget *window)
{
    const QMargins frame = KnownFrame(window);
    return {frame.left(), frame.bottom()};
}

QMargins FrameMargins(const QWidget *window)
{
    const QMargins frame = KnownFrame(window);
    if (!frame.isNull() || (window->windowFlags() & Qt::FramelessWindowHint))
        return frame;
    return {0, window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window), 0, 0};
}

} // namespace WindowPlacement
