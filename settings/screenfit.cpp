#include "screenfit.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>

#include <algorithm>

namespace {

qint64 OverlapArea(const QRect &a, const QRect &b)
{
    const QRect common = a.intersected(b);
    return qint64(common.width()) * common.height();
}

qint64 SquaredDistance(const QPoint &point, const QRect &area)
{
    const qint64 dx = std::max({qint64(area.left()) - point.x(), qint64(0), qint64(point.x()) - area.right()});
    const qint64 dy = std::max({qint64(area.top()) - point.y(), qint64(0), qint64(point.y()) - area.bottom()});
    return dx * dx + dy * dy;
}

// Where most of the window is, or, for a window on no screen, the screen closest to its middle.
QRect HomeArea(const QRect &outer, const QList<QRect> &workAreas)
{
    const auto byOverlap = [&](const QRect &a, const QRect &b) {
        return OverlapArea(outer, a) < OverlapArea(outer, b);
    };
    const QRect most = *std::max_element(workAreas.cbegin(), workAreas.cend(), byOverlap);
    if (OverlapArea(outer, most) > 0)
        return most;
    const auto byDistance = [&](const QRect &a, const QRect &b) {
        return SquaredDistance(outer.center(), a) < SquaredDistance(outer.center(), b);
    };
    return *std::min_element(workAreas.cbegin(), workAreas.cend(), byDistance);
}

bool LiesWithin(const QRect &outer, const QList<QRect> &workAreas)
{
    QRegion uncovered(outer);
    for (const QRect &area : workAreas)
        uncovered -= area;
    return uncovered.isEmpty();
}

} // namespace

namespace ScreenFit {

QList<QRect> WorkAreas()
{
    QList<QRect> areas;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (primary)
        areas.append(primary->availableGeometry());
    for (const QScreen *screen : QGuiApplication::screens()) {
        if (screen != primary)
            areas.append(screen->availableGeometry());
    }
    return areas;
}

QRect FitToWorkAreas(const QRect &client, const QMargins &frame, const QList<QRect> &workAreas)
{
    QRect outer = client.marginsAdded(frame);
    if (workAreas.isEmpty() || LiesWithin(outer, workAreas))
        return client;
    const QRect area = HomeArea(outer, workAreas);
    outer.setSize(outer.size().boundedTo(area.size()));
    outer.moveRight(std::min(outer.right(), area.right()));
    outer.moveBottom(std::min(outer.bottom(), area.bottom()));
    outer.moveLeft(std::max(outer.left(), area.left()));
    outer.moveTop(std::max(outer.top(), area.top()));
    QRect fitted = outer.marginsRemoved(frame);
    fitted.setSize(fitted.size().expandedTo(QSize(1, 1)));
    return fitted;
}

} // namespace ScreenFit
