#pragma once

#include "core/runtime/Geometry.h"
#include "platform/QtText.h"

#include <QRect>

namespace korval {

// The device pixels that an area laid out in pixels covers at a device pixel
// ratio: each edge scaled and rounded as the cells' own edges are, so cells
// that meet still meet on the device.
inline QRect devicePixelRect(const QRect& rect, double devicePixelRatio)
{
    if (devicePixelRatio == 1.0)
        return rect;
    return qtRect(pixelRectOf(rect.left() * devicePixelRatio, rect.top() * devicePixelRatio,
                              (rect.left() + rect.width()) * devicePixelRatio,
                              (rect.top() + rect.height()) * devicePixelRatio));
}

} // namespace korval
