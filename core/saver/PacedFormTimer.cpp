#include "PacedFormTimer.h"

#include <chrono>

namespace korval {

void PacedFormTimer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    // An interval of 0 keeps the timer enabled but silent.
    if (enabled && intervalMs_ > 0)
        arm(pace_.start(nowMs()));
    else
        disarm();
    enabled_ = enabled;
}

void PacedFormTimer::wake()
{
    if (!enabled_)
        return;
    const TickPace::Wake next = pace_.wake(nowMs());
    // Set again before the handler runs, so that a handler which disables
    // the timer stops it for good.
    arm(next.waitMs);
    if (next.ticks && onTick_)
        onTick_();
}

double PacedFormTimer::nowMs() const
{
    using Milliseconds = std::chrono::duration<double, std::milli>;
    return Milliseconds(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace korval
