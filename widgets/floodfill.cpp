#include "floodfill.h"

#include <vector>

namespace {

constexpr QRgb kRgbMask = 0x00FFFFFF;

bool SameRgb(QRgb a, QRgb b)
{
    return (a & kRgbMask) == (b & kRgbMask);
}

} // namespace

void FloodFill(QImage &image, QPoint seed, QRgb match, QRgb fill)
{
    // Filling with the colour being matched would find the same pixels again and again.
    if (!image.valid(seed) || SameRgb(match, fill))
        return;
    if (image.format() != QImage::Format_RGB32)
        image.convertTo(QImage::Format_RGB32);

    const QRgb opaqueFill = fill | ~kRgbMask;
    std::vector<QPoint> pending{seed};
    while (!pending.empty()) {
        const QPoint p = pending.back();
        pending.pop_back();
        if (!image.valid(p) || !SameRgb(image.pixel(p), match))
            continue;
        image.setPixel(p, opaqueFill);
        pending.insert(pending.end(), {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
}
