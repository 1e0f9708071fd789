#pragma once

#include "core/options/DialogDesign.h"

namespace korval::windows {

// A place on the dialog in pixels from the top-left corner of its client
// area. The design is drawn at 96 DPI; on a screen of another resolution
// every edge moves in proportion.
struct DialogRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const DialogRect&) const = default;
};

inline constexpr unsigned kDesignDpi = 96;

// The client area of the dialog at the design resolution.
inline constexpr DialogRect kClientArea{0, 0, kDialogWidth, kDialogHeight};

// A design length at the given resolution, rounded to the nearest pixel.
int scaledLength(int designPixels, unsigned dpi);

// A design rectangle at the given resolution. Its edges are scaled, not its
// size, so that controls that meet or line up at 96 DPI still do.
DialogRect scaledRect(const DialogRect& design, unsigned dpi);

// The height, in logical units for CreateFontW, of a font of that many points
// at the given resolution: negative, as GDI takes a character height.
int fontHeight(double pointSize, unsigned dpi);

} // namespace korval::windows
