#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>

class QWidget;

// A window's placement as the stored window state describes it: flags, show command, minimized
// and maximized positions and the normal (restored) rectangle.
struct TPlacementRecord
{
    static constexpr int kShowNormal = 1;
    static constexpr int kShowMinimized = 2;
    static constexpr int kShowMaximized = 3;
    // Minimized, and will restore to maximized.
    static constexpr int kRestoreToMaximized = 2;

    int Flags = 0;
    int ShowCmd = kShowNormal;
    QPoint MinPosition{-1, -1};
    QPoint MaxPosition{-1, -1};
    QRect Normal;
};

// Reads and writes the placement record of a top-level widget. Qt has no minimized or maximized
// position; they are kept on the window itself, so that every component attached to the same
// window sees one record, as it would on a platform that has them.
namespace WindowPlacement {

TPlacementRecord Read(const QWidget *window);
// Applies the positions and the normal rectangle; the window's state (normal, maximized,
// minimized) is left as it is.
void WritePositions(QWidget *window, const TPlacementRecord &record);
// The width and height of the window's frame border; (0, 0) for a window without one.
QPoint FrameSize(const QWidget *window);
// The frame the window system puts around the window. Before the window has been on screen the
// window system has not said; a title bar as the style draws one stands in for it then.
QMargins FrameMargins(const QWidget *window);

} // namespace WindowPlacement
