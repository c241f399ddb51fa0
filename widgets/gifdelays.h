#pragma once

#include <QByteArray>

#include <vector>

/// The delay of each image of a GIF file in hundredths of a second, as its graphic control
/// extensions give them (0 where an image has none). Reading stops quietly at the first damage.
std::vector<int> GifFrameDelays(const QByteArray &gif);
