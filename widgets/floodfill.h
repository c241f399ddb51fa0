#pragma once

#include <QImage>
#include <QPoint>
#include <QRgb>

// Recolours the region of pixels that share exactly the colour `match` and are connected to `seed`
// through their edges (not their corners). Nothing changes when the seed lies outside the image or
// has another colour. Alpha is ignored in the comparison; the image ends up as Format_RGB32.
void FloodFill(QImage &image, QPoint seed, QRgb match, QRgb fill);
