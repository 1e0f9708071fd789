#pragma once

#include <QRect>
#include <QRegion>

#include <vector>

namespace korval {

// The area one repaint sends to the screen, built from the rectangles of the
// cells that changed. On X11 every rectangle of the flushed region becomes a
// request to the server, and the server clips each request against all the
// others, so few rectangles matter more than few pixels. Cells of one grid
// row share their top and bottom edges: the changed cells of a row become
// one band, in which neighbours closer than the merge gap join into one
// rectangle. The result is a valid banded region built in one go, not cell
// by cell. Areas that do not line up in rows (a control's damage, cells of
// odd geometry) fall back to an ordinary union.
class RepaintBands {
public:
    // Horizontal gap, in pixels, up to which two changed areas of a band are
    // sent as one rectangle together with the unchanged pixels between them.
    explicit RepaintBands(int mergeGap = kDefaultMergeGap);

    static constexpr int kDefaultMergeGap = 40;

    void reserve(std::size_t rectangles);
    void clear() { rects_.clear(); }
    void add(const QRect& rect);
    bool isEmpty() const { return rects_.empty(); }

    // The merged region, clipped to `bounds`. Sorts the collected rectangles
    // in place; reuses its storage from one repaint to the next.
    QRegion region(const QRect& bounds);

private:
    bool mergeIntoBands(const QRect& bounds);
    void joinBand(std::size_t first, std::size_t end, int top, int bottom, const QRect& bounds);
    QRegion unionFallback(const QRect& bounds) const;

    std::vector<QRect> rects_;
    std::vector<QRect> bands_;
    const int mergeGap_;
};

} // namespace korval
