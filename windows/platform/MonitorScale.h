#pragma once

#include "core/runtime/Geometry.h"

namespace korval::windows {

// How a monitor's physical pixels meet the pixels the saver lays its grid out
// in. The program is aware of each monitor's DPI: Windows reports monitors
// in physical pixels and does not scale what the program draws. The grid is
// laid out in logical pixels (96 per inch), as the Linux build lays it out
// in Qt's device-independent pixels, and every cell is drawn that many times
// larger, so a cell covers the same share of the screen at any DPI.
struct MonitorScale {
    double factor = 1; // physical pixels per logical pixel

    static MonitorScale ofDpi(unsigned dpi) { return {dpi >= 24 ? dpi / 96.0 : 1.0}; }
    bool operator==(const MonitorScale&) const = default;

    // The monitor in logical pixels: its corner and size divided by the
    // factor, each rounded to the nearest pixel. Only the size reaches the
    // rules (as twips); the corner tells monitors apart on the desktop.
    PixelRect logical(const PixelRect& physical) const;

    // The physical pixels an area laid out in logical pixels covers inside
    // its window (devicePixelRect).
    PixelRect physical(double left, double top, double right, double bottom) const
    {
        return devicePixelRect(left, top, right, bottom, factor);
    }
    PixelRect physical(const RectF& rect) const { return devicePixelRect(rect, factor); }

    // A point of the window in physical pixels, in logical pixels.
    PointF logicalPoint(double x, double y) const { return {x / factor, y / factor}; }
};

} // namespace korval::windows
