#pragma once

#include <algorithm>
#include <cmath>

namespace korval {

// The pace of a form's timer, which every front end's timer keeps: never
// more than 64 ticks per second, the classic desktop timer granularity, and
// deadlines counted from a steady clock so that the pace stays even; a tick
// that runs late delays the next one and missed ticks are not made up.
// Times are milliseconds on the front end's steady clock.
//
// The system's timer is a one-shot one, set afresh at every wake for the
// whole milliseconds left to the next deadline, rounded down: a system whose
// timers fire at its clock tick (Windows, every 15.625 ms) then fires at the
// tick that reaches the deadline rather than at the one after it. A wake may
// so come a little before its deadline; within kEarlyMarginMs it ticks, and
// the deadlines after it stay where they were.
class TickPace {
public:
    static constexpr double kFloorMs = 1000.0 / 64.0;
    static constexpr double kEarlyMarginMs = 2.0;
    // Never less, so that a deadline just ahead costs one wake, not a spin.
    static constexpr int kShortestWaitMs = 1;

    // What a wake of the system's timer does: whether the form's timer
    // ticks, and how long until the system's timer should fire again.
    struct Wake {
        bool ticks;
        int waitMs;
    };

    explicit TickPace(int intervalMs) : periodMs_(std::max<double>(intervalMs, kFloorMs)) {}

    double periodMs() const { return periodMs_; }
    double nextDueMs() const { return nextDueMs_; }

    // The timer starts: its first tick is due a period from now. Gives the
    // wait until the system's timer fires.
    int start(double nowMs)
    {
        nextDueMs_ = nowMs + periodMs_;
        return waitMs(nowMs);
    }

    // The system's timer fired now.
    Wake wake(double nowMs)
    {
        if (nowMs + kEarlyMarginMs < nextDueMs_)
            return {false, waitMs(nowMs)};
        tick(nowMs);
        return {true, waitMs(nowMs)};
    }

private:
    // The next tick is due a period after this one's deadline, or a period
    // from now where the ticks fell behind.
    void tick(double nowMs)
    {
        nextDueMs_ += periodMs_;
        if (nextDueMs_ < nowMs)
            nextDueMs_ = nowMs + periodMs_;
    }

    int waitMs(double nowMs) const
    {
        return std::max(kShortestWaitMs, static_cast<int>(std::floor(nextDueMs_ - nowMs)));
    }

    double periodMs_;
    double nextDueMs_ = 0;
};

} // namespace korval
