#pragma once

#include "core/saver/Cell.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <unordered_map>

namespace korval {

// Pictures of glyphs as cells show them: the character left-aligned at the
// top of a box of the cell's size, in the array's font at the cell's size,
// clipped to the box, on the cell's opaque back colour. Each picture is
// rendered once and then only copied, so no text is laid out while the
// saver runs.
//
// The one rule for a glyph's size at a device pixel ratio: the font is
// sized at the screen's resolution (its logical dots per inch) and drawn by
// a painter that the ratio scales, as Qt draws any text at that ratio (the
// banner's caption too); the outlines are rasterised at the device size. A
// glyph at ratio 2 is then twice its size at ratio 1, because the font
// engine rounds the font's size in pixels (10 points at 96 dpi: 13.33 to
// 13) before the ratio scales it (26). A font sized at dpi x ratio instead
// is rounded after scaling (26.67 to 27): glyphs up to one pixel per em
// larger or smaller than twice. Every painter of cells (the backing store,
// X Render in the saver's windows and in a host's) takes its pictures from
// here.
class GlyphCache {
public:
    GlyphCache(const CellFont& font, double dotsPerInch, double devicePixelRatio);

    // The picture for a cell that shows a character, for a cell of that many
    // pixels: as many device pixels as the ratio makes of them (a painter at
    // the ratio draws it at the cell's size). The size is part of the key,
    // so cells of fractional size that round differently get pictures of
    // their own.
    const QImage& glyph(const Cell& cell, QSize pixelSize)
    {
        return glyphOfDeviceSize(cell, devicePixelRatio_ == 1.0 ? pixelSize : pixelSize * devicePixelRatio_);
    }
    // The same picture for a painter that places each cell at its device
    // pixels (devicePixelRect), at exactly that size.
    const QImage& glyphOfDeviceSize(const Cell& cell, QSize devicePixels);

    std::size_t size() const { return images_.size(); }

private:
    struct Key {
        std::int16_t code;
        std::uint16_t width;
        std::uint16_t height;
        float fontSize;
        QRgb foreColour;
        QRgb backColour;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const noexcept;
    };

    QImage render(const Cell& cell, QSize devicePixels) const;

    // The pictures used lately, one per slot, found without hashing: a tick
    // repaints hundreds of cells from the same few hundred pictures.
    struct Recent {
        Key key{};
        const QImage* image = nullptr;
    };
    static constexpr std::size_t kRecentSlots = 1024;
    std::array<Recent, kRecentSlots> recent_{};

    CellFont font_;
    double dotsPerInch_;
    double devicePixelRatio_;
    std::unordered_map<Key, QImage, KeyHash> images_;
};

} // namespace korval
