#pragma once

#include "core/runtime/Geometry.h"

#include <cmath>
#include <optional>

namespace korval {

// Which reports of the pointer are mouse movements to the saver: only one
// on another pixel of the desktop than the last place known. Systems report
// the pointer without any motion (Windows when a window appears or goes
// under it, when it is shown or hidden, when the stacking order changes; X11
// at the first motion event after a window is mapped under it, even where
// the pointer stays put), and such a report must not count as the user's
// move. Pixels, not exact places, are compared: a system may report places
// between pixels (X11's input extension does) where it tells the start in
// whole pixels.
//
// The rule's one parameter is where it starts: the place of the pointer
// when the saver's windows show (startAt), so that the user's first real
// move counts and the reports that showing them brings do not. A system
// that cannot tell it (Wayland tells a program where the pointer is only
// once it enters one of the program's windows) leaves it out, and the
// pointer's entering a saver window gives it instead (entered). While no
// place is known, the first report only sets it. Once one is, entering is a
// report like any other: on Wayland the move that carries the pointer from
// one saver window into another's reaches the program only as an entering,
// and a window that appears under a resting pointer is entered in place.
class MoveFilter {
public:
    void startAt(PointF position) { last_ = pixelOf(position); }

    // The pointer came over a saver window: where it is, and whether it
    // got there by moving from the last place known.
    bool entered(PointF position)
    {
        if (!last_) {
            last_ = pixelOf(position);
            return false;
        }
        return moved(position);
    }

    // True when the pointer stands on another pixel than at the last report.
    bool moved(PointF position)
    {
        const Pixel pixel = pixelOf(position);
        const bool moved = last_ && *last_ != pixel;
        last_ = pixel;
        return moved;
    }

private:
    struct Pixel {
        double x;
        double y;
        bool operator==(const Pixel&) const = default;
    };

    static Pixel pixelOf(PointF position) { return {std::floor(position.x), std::floor(position.y)}; }

    std::optional<Pixel> last_;
};

} // namespace korval
