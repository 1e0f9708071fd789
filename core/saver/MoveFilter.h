#pragma once

#include <optional>

namespace korval {

// Which reports of the pointer are mouse movements to the saver: only one
// at another position than the last one seen. A system may report the
// pointer without any motion (Windows does when a window appears or goes
// under it, when it is shown or hidden, when the stacking order changes),
// and such a report must not count as the user's move. The filter starts
// where the pointer stands when the saver's windows are shown (startAt), so
// that the user's first real move counts and the reports that showing them
// brings do not; while no position is known, the first report only sets it.
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

} // namespace korval
