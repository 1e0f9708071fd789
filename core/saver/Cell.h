#pragma once

#include "Palette.h"
#include "Typeface.h"

#include "core/runtime/Geometry.h"

#include <cstdint>
#include <string>

namespace korval {

// A caption code meaning "no character": the empty caption.
inline constexpr std::int16_t kNoCaption = -1;

// One windowless text label of a control array, as the front end paints it.
// Position and size are single-precision pixels; the caption is one
// character of the single-byte code page, or none. A CellArray hands out
// cells by value: it keeps only what differs from cell to cell.
struct Cell {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    float fontSize = 8.25f; // points
    Colour foreColour = 0xFF000000;
    Colour backColour = 0xFF000000;
    std::int16_t captionCode = kNoCaption;
    bool visible = true;

    // The whole pixels the cell covers.
    PixelRect pixelRect() const { return pixelRectOf(left, top, double(left) + width, double(top) + height); }

    // Whether a repaint of the whole window has anything to draw for it: a
    // glyph, or an empty box of another colour than the form's black.
    bool showsSomething() const { return visible && (captionCode != kNoCaption || backColour != BLACK); }

    bool contains(double x, double y) const
    {
        return visible && x >= left && x < double(left) + width && y >= top && y < double(top) + height;
    }
};

// Whether a cell and an area (both in pixels) overlap; sharing an edge is
// not meeting.
inline bool cellMeets(const Cell& cell, const RectF& area)
{
    return cell.left < area.left + area.width && cell.left + cell.width > area.left &&
           cell.top < area.top + area.height && cell.top + cell.height > area.top;
}

// The font that every cell of an array shares (its size is the array's too).
struct CellFont {
    std::string family{kFaceName};
    int weight = 700;
    int charset = 238;
};

} // namespace korval
