#pragma once

#include <cmath>

namespace korval {

// An area of whole pixels.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool isEmpty() const { return width <= 0 || height <= 0; }
    bool operator==(const PixelRect&) const = default;
};

// A point of the desktop in pixels, which need not be whole.
struct PointF {
    double x = 0;
    double y = 0;
};

// A size in twips or pixels that need not be whole.
struct SizeF {
    double width = 0;
    double height = 0;

    bool operator==(const SizeF&) const = default;
};

// An area in single-precision pixels, as controls place themselves.
struct RectF {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    bool isEmpty() const { return !(width > 0) || !(height > 0); }
    // Left and top edges inside, right and bottom edges outside.
    bool contains(double x, double y) const
    {
        return x >= left && x < double(left) + width && y >= top && y < double(top) + height;
    }
    bool operator==(const RectF&) const = default;
};

// The whole pixels an area given in single-precision pixels covers: each
// edge rounds to the nearest pixel, halves away from zero, so neighbouring
// cells never overlap or leave a gap, and a banner centred at 424.5 is drawn
// at 425.
inline PixelRect pixelRectOf(double left, double top, double right, double bottom)
{
    const int x0 = static_cast<int>(std::lround(left));
    const int y0 = static_cast<int>(std::lround(top));
    return {x0, y0, static_cast<int>(std::lround(right)) - x0, static_cast<int>(std::lround(bottom)) - y0};
}

inline PixelRect pixelRectOf(const RectF& rect)
{
    return pixelRectOf(rect.left, rect.top, double(rect.left) + rect.width, double(rect.top) + rect.height);
}

// The device pixels that an area laid out in pixels covers at a scale
// (device pixels per pixel): each edge scaled, then rounded as the cells'
// own edges are, so cells that meet still meet on the device.
inline PixelRect devicePixelRect(double left, double top, double right, double bottom, double scale)
{
    return pixelRectOf(left * scale, top * scale, right * scale, bottom * scale);
}

inline PixelRect devicePixelRect(const RectF& rect, double scale)
{
    return devicePixelRect(rect.left, rect.top, double(rect.left) + rect.width, double(rect.top) + rect.height, scale);
}

inline PixelRect devicePixelRect(const PixelRect& rect, double scale)
{
    return devicePixelRect(rect.x, rect.y, double(rect.x) + rect.width, double(rect.y) + rect.height, scale);
}

} // namespace korval
