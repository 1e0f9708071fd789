#pragma once

#include <QRect>

#include <cmath>

namespace korval {

// The whole pixels an area given in single-precision pixels covers: each
// edge rounds to the nearest pixel, halves away from zero, so neighbouring
// cells never overlap or leave a gap, and a banner centred at 424.5 is drawn
// at 425.
inline QRect pixelRectOf(double left, double top, double right, double bottom)
{
    const int x0 = static_cast<int>(std::lround(left));
    const int y0 = static_cast<int>(std::lround(top));
    return QRect(x0, y0, static_cast<int>(std::lround(right)) - x0, static_cast<int>(std::lround(bottom)) - y0);
}

// The device pixels that an area laid out in pixels covers at a device pixel
// ratio: each edge scaled and rounded as above, so cells that meet still
// meet on the device.
inline QRect devicePixelRect(const QRect& rect, double devicePixelRatio)
{
    if (devicePixelRatio == 1.0)
        return rect;
    return pixelRectOf(rect.left() * devicePixelRatio, rect.top() * devicePixelRatio,
                       (rect.left() + rect.width()) * devicePixelRatio, (rect.top() + rect.height()) * devicePixelRatio);
}

} // namespace korval
