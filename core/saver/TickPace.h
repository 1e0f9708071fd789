#pragma once

#include <algorithm>

namespace korval {

// The pace of a form's timer, which every front end's timer keeps: never
// more than 64 ticks per second, the classic desktop timer granularity, and
// deadlines counted from a steady clock so that the pace stays even; a tick
// that runs late delays the next one and missed ticks are not made up.
// Times are milliseconds on the front end's steady clock.
class TickPace {
public:
    static constexpr double kFloorMs = 1000.0 / 64.0;

    explicit TickPace(int intervalMs) : periodMs_(std::max<double>(intervalMs, kFloorMs)) {}

    double periodMs() const { return periodMs_; }
    double nextDueMs() const { return nextDueMs_; }

    // The timer starts: its first tick is due a period from now.
    void start(double nowMs) { nextDueMs_ = nowMs + periodMs_; }

    // A tick runs now: the next is due a period after this one's deadline,
    // or a period from now where the ticks fell behind.
    void tick(double nowMs)
    {
        nextDueMs_ += periodMs_;
        if (nextDueMs_ < nowMs)
            nextDueMs_ = nowMs + periodMs_;
    }

private:
    double periodMs_;
    double nextDueMs_ = 0;
};

} // namespace korval
