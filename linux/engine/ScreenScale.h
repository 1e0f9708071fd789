#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace korval {

// How one screen maps the pixels that cells are laid out in onto its device
// pixels, and the resolution the glyphs are made at there: what a window of
// the program's own gets from Qt on that screen.
struct ScreenScale {
    QRect deviceGeometry; // device pixels, on the whole desktop
    double devicePixelRatio = 1.0;
    double dotsPerInch = 96.0;
};

// The application's screens, the primary one first.
std::vector<ScreenScale> applicationScreenScales();

// The scale of the screen that holds the device pixel, else that of the
// first (primary) screen; one device pixel per pixel at 96 dpi without any.
ScreenScale screenScaleAt(QPoint devicePixel, const std::vector<ScreenScale>& screens);

// The size a window of this many device pixels is laid out in, rounded up:
// the pixels of that size cover every device pixel of the window.
QSize layoutSize(QSize devicePixels, double devicePixelRatio);

} // namespace korval
