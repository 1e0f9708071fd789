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
class GlyphCache {
public:
    GlyphCache(const CellFont& font, double dotsPerInch, double devicePixelRatio);

    // The picture for a cell that shows a character; the cell's pixel size is
    // part of the key, so cells of fractional size that round differently get
    // pictures of their own.
    const QImage& glyph(const Cell& cell, QSize pixelSize);

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

    QImage render(const Cell& cell, QSize pixelSize) const;

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
