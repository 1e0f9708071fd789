#pragma once

#include "core/runtime/Geometry.h"
#include "platform/QtText.h"

#include <QRect>

namespace korval {

// The device pixels that an area laid out in pixels covers at a device pixel
// ratio (the core's devicePixelRect), as Qt holds them; at one device pixel
// per pixel, the area itself without any arithmetic.
inline QRect devicePixelRect(const QRect& rect, double devicePixelRatio)
{
    if (devicePixelRatio == 1.0)
        return rect;
    return qtRect(devicePixelRect(pixelRect(rect), devicePixelRatio));
}

} // namespace korval
