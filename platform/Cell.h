#pragma once

#include <QColor>
#include <QRect>
#include <QString>

#include <cmath>
#include <cstdint>

namespace korval {

// A caption code meaning "no character": the empty caption.
inline constexpr std::int16_t kNoCaption = -1;

// One windowless text label of a control array, painted by its window.
// Position and size are single-precision pixels; the caption is one
// character of the single-byte code page, or none.
struct Cell {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    float fontSize = 8.25f; // points
    QRgb foreColour = 0xFF000000;
    QRgb backColour = 0xFF000000;
    std::int16_t captionCode = kNoCaption;
    bool visible = true;
    bool queued = false; // waiting in the array's repaint queue

    // The whole pixels the cell covers: fractional edges round to the nearest
    // pixel, so neighbouring cells never overlap or leave a gap.
    QRect pixelRect() const
    {
        const int x0 = static_cast<int>(std::lround(left));
        const int y0 = static_cast<int>(std::lround(top));
        const int x1 = static_cast<int>(std::lround(double(left) + width));
        const int y1 = static_cast<int>(std::lround(double(top) + height));
        return QRect(x0, y0, x1 - x0, y1 - y0);
    }

    bool contains(double x, double y) const
    {
        return visible && x >= left && x < double(left) + width && y >= top && y < double(top) + height;
    }
};

// The font that every cell of an array shares; only its size is per cell.
struct CellFont {
    QString family;
    int weight = 700;
    int charset = 238;
};

} // namespace korval
