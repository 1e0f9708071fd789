#pragma once

#include <cstdint>

namespace korval {

// A colour as 0xAARRGGBB, always opaque here.
using Colour = std::uint32_t;

inline constexpr int redOf(Colour colour) { return (colour >> 16) & 0xFF; }
inline constexpr int greenOf(Colour colour) { return (colour >> 8) & 0xFF; }
inline constexpr int blueOf(Colour colour) { return colour & 0xFF; }

// The program's greens, shared by the saver and the options dialog.
inline constexpr Colour HEAD_COLOUR = 0xFF32FF32;    // (50, 255, 50): a column's newest glyph, the banner
inline constexpr Colour TRAIL_COLOUR = 0xFF008000;   // (0, 128, 0): every other glyph
inline constexpr Colour CAPTION_COLOUR = 0xFF00FF00; // (0, 255, 0): the dialog's captions
inline constexpr Colour BLACK = 0xFF000000;

} // namespace korval
