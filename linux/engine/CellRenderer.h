#pragma once

#include "core/saver/Cell.h"
#include "GlyphCache.h"

#include <QImage>
#include <QPainter>

#include <memory>
#include <optional>

namespace korval {

// Draws cells into a window's backing store, in device pixels: each cell
// covers its rectangle scaled by the device pixel ratio (so neighbours still
// meet), and its glyph is rendered at that size, as the X server's glyphs
// are. Each glyph is rendered once by the glyph cache; after that a cell
// costs a copy of its pixels. When the backing store is a plain 32-bit image
// (the usual case, at any device pixel ratio) the pixels are copied row by
// row straight into it; otherwise a painter draws the cached image.
class CellRenderer {
public:
    explicit CellRenderer(CellFont font);

    // The screen's resolution and pixel ratio; the cached glyphs are thrown
    // away when they change.
    void setScreen(double dotsPerInch, double devicePixelRatio);

    void begin(QPaintDevice* device);
    void end();

    // Paints a cell as it now is: its glyph, its empty back colour, or the
    // form's black background where the cell is hidden.
    void drawCell(const Cell& cell);
    // Fills an area given in the pixels the cells are laid out in.
    void fill(const QRect& rect, QRgb colour);

private:
    void fillDevicePixels(const QRect& rect, QRgb colour);
    void copyImage(const QImage& source, const QRect& target);
    GlyphCache& glyphs();

    CellFont font_;
    double dotsPerInch_ = 96;
    double devicePixelRatio_ = 1;
    std::unique_ptr<GlyphCache> glyphs_;

    // The image being drawn into directly, or the painter of the slow path.
    uchar* bits_ = nullptr;
    qsizetype bytesPerLine_ = 0;
    QRect bounds_;
    std::optional<QPainter> painter_;
};

} // namespace korval
