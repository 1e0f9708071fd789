#pragma once

#include <QImage>
#include <QRect>

#include <algorithm>

namespace korval::e2e {

// The glyphs are drawn in two greens, smoothed into the black around them.
inline bool isGlyphGreen(QRgb pixel)
{
    return qGreen(pixel) >= 60 && qGreen(pixel) > qRed(pixel) + 30 && qGreen(pixel) > qBlue(pixel) + 30;
}

inline int countGreen(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += isGlyphGreen(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// The glyph pixels in the quarter of the area with the fewest: the rain
// starts at the top, and covers the area once this is above zero.
inline int greenInEachQuarter(const QImage& image, const QRect& area)
{
    const QSize half = area.size() / 2;
    int fewest = area.width() * area.height();
    for (const QPoint& corner : {area.topLeft(), area.topLeft() + QPoint(half.width(), 0),
                                 area.topLeft() + QPoint(0, half.height()), area.topLeft() + QPoint(half.width(), half.height())})
        fewest = std::min(fewest, countGreen(image, QRect(corner, half)));
    return fewest;
}

} // namespace korval::e2e
