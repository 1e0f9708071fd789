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

} // namespace korval
