#pragma once

#include <QColor>

namespace korval {

// The program's greens, shared by the saver and the options dialog.
inline constexpr QRgb HEAD_COLOUR = 0xFF32FF32;    // (50, 255, 50): a column's newest glyph, the banner
inline constexpr QRgb TRAIL_COLOUR = 0xFF008000;   // (0, 128, 0): every other glyph
inline constexpr QRgb CAPTION_COLOUR = 0xFF00FF00; // (0, 255, 0): the dialog's captions
inline constexpr QRgb BLACK = 0xFF000000;

} // namespace korval
