#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

// Keeps a stored window rectangle where a person can see and reach all of it.
namespace ScreenFit {

/// The work area of every screen: its geometry less panels and docks, in the coordinates of
/// window geometries. The primary screen first; empty without screens.
QList<QRect> WorkAreas();

/// client: a window's rectangle without its frame; frame: the frame around it. When the framed
/// rectangle lies within the work areas, client comes back unchanged. Otherwise the framed
/// rectangle is reduced to the size of the work area it overlaps most (the one nearest its
/// centre when it overlaps none) and moved into it by the least distance, its top-left corner
/// and so the title bar winning where it cannot fit; the result is the client part of that.
QRect FitToWorkAreas(const QRect &client, const QMargins &frame, const QList<QRect> &workAreas);

} // namespace ScreenFit
