#include "RepaintBands.h"

#include <algorithm>
#include <limits>

namespace korval {

RepaintBands::RepaintBands(int mergeGap) : mergeGap_(mergeGap) {}

void RepaintBands::reserve(std::size_t rectangles)
{
    rects_.reserve(rectangles);
    bands_.reserve(rectangles);
}

void RepaintBands::add(const QRect& rect)
{
    if (!rect.isEmpty())
        rects_.push_back(rect);
}

QRegion RepaintBands::region(const QRect& bounds)
{
    if (rects_.empty())
        return {};
    if (!mergeIntoBands(bounds)) {
        bands_.clear();
        return unionFallback(bounds);
    }
    QRegion region;
    if (!bands_.empty())
        region.setRects(bands_.data(), static_cast<int>(bands_.size()));
    return region;
}

// Rectangles are grouped into bands on a grid of the first one's height (a
// cell's row, when all cells have one size), and each band's rectangles are
// joined left to right. Taller bands were measured: they send more pixels and
// cost the X server more than they save. Fails when two bands overlap (rows of
// uneven height), which a banded region cannot hold as they are.
bool RepaintBands::mergeIntoBands(const QRect& bounds)
{
    const int bandHeight = std::max(1, rects_.front().height());
    const auto bandOf = [bandHeight](const QRect& rect) { return rect.top() / bandHeight; };
    std::sort(rects_.begin(), rects_.end(), [&](const QRect& a, const QRect& b) {
        const int bandA = bandOf(a);
        const int bandB = bandOf(b);
        return bandA != bandB ? bandA < bandB : a.left() < b.left();
    });
    bands_.clear();
    int previousBottom = std::numeric_limits<int>::min(); // bottom edge of the last band, inclusive
    for (std::size_t first = 0; first < rects_.size();) {
        const int band = bandOf(rects_[first]);
        int top = rects_[first].top();
        int bottom = rects_[first].bottom();
        std::size_t end = first;
        for (; end < rects_.size() && bandOf(rects_[end]) == band; ++end) {
            top = std::min(top, rects_[end].top());
            bottom = std::max(bottom, rects_[end].bottom());
        }
        top = std::max(top, bounds.top());
        bottom = std::min(bottom, bounds.bottom());
        if (top <= bottom) {
            if (top <= previousBottom)
                return false;
            previousBottom = bottom;
            joinBand(first, end, top, bottom, bounds);
        }
        first = end;
    }
    return true;
}

// Joins the band's rectangles, sorted by their left edges, into spans no
// closer than the merge gap.
void RepaintBands::joinBand(std::size_t first, std::size_t end, int top, int bottom, const QRect& bounds)
{
    int left = 0;
    int right = -1;
    bool open = false;
    for (std::size_t i = first; i < end; ++i) {
        const int x0 = std::max(rects_[i].left(), bounds.left());
        const int x1 = std::min(rects_[i].right(), bounds.right());
        if (x0 > x1)
            continue;
        if (open && x0 <= right + 1 + mergeGap_) {
            right = std::max(right, x1);
            continue;
        }
        if (open)
            bands_.push_back(QRect(QPoint(left, top), QPoint(right, bottom)));
        left = x0;
        right = x1;
        open = true;
    }
    if (open)
        bands_.push_back(QRect(QPoint(left, top), QPoint(right, bottom)));
}

QRegion RepaintBands::unionFallback(const QRect& bounds) const
{
    QRegion region;
    for (const QRect& rect : rects_)
        region += rect;
    return region & bounds;
}

} // namespace korval
