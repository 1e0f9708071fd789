#pragma once

#include "Geometry.h"

#include <string>

namespace korval {

// Twips per pixel by which the program always divides sizes in twips, whatever
// the display's own number of twips per pixel.
inline constexpr double TWIPS_PER_PIXEL = 15.0;

// One screen the saver covers: where it lies on the desktop in pixels, and
// the twips per pixel at which the platform reports its size (15 on every
// real desktop here; tests may report another).
struct ScreenArea {
    std::string name; // tells a screen apart from the others across changes
    PixelRect geometry;
    double twipsPerPixel = 15;

    SizeF twips() const { return {geometry.width * twipsPerPixel, geometry.height * twipsPerPixel}; }
    bool operator==(const ScreenArea&) const = default;
};

} // namespace korval
