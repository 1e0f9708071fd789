#pragma once

#include <optional>

namespace korval::windows {

// Windows sends WM_MOUSEMOVE without any motion: when a window appears or
// goes under the pointer, when the pointer is shown or hidden, when the
// z-order changes. Only a move to another position than the last one seen
// is a mouse movement to the saver. The filter starts at the pointer's
// position when the saver's windows are shown, so that the user's first
// real move counts and the messages that showing them brings do not; while
// no position is known, the first message only sets it.
class MoveFilter {
public:
    struct Point {
        long x = 0;
        long y = 0;
        bool operator==(const Point&) const = default;
    };

    void startAt(Point position) { last_ = position; }

    // True when the pointer stands somewhere else than at the last message.
    bool moved(Point position)
    {
        const bool moved = last_ && *last_ != position;
        last_ = position;
        return moved;
    }

private:
    std::optional<Point> last_;
};

} // namespace korval::windows
