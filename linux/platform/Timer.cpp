#include "Timer.h"

#include <algorithm>
#include <cmath>

namespace korval {

Timer::Timer(int intervalMs, bool enabled, std::function<void()> onTick)
    : onTick_(std::move(onTick)), intervalMs_(intervalMs)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { fire(); });
    clock_.start();
    setEnabled(enabled);
}

double Timer::periodMs() const
{
    return std::max<double>(intervalMs_, kFloorMs);
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (enabled && intervalMs_ > 0) {
        nextDueMs_ = static_cast<double>(clock_.nsecsElapsed()) / 1e6 + periodMs();
        arm();
    } else {
        timer_.stop();
    }
}

void Timer::arm()
{
    const double now = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
    timer_.start(static_cast<int>(std::max(0.0, std::ceil(nextDueMs_ - now))));
}

void Timer::fire()
{
    if (!enabled_)
        return;
    // Re-arm before the handler runs, so that a handler which disables the
    // timer stops it for good.
    const double now = static_cast<double>(clock_.nsecsElapsed()) / 1e6;
    nextDueMs_ += periodMs();
    if (nextDueMs_ < now)
        nextDueMs_ = now + periodMs();
    arm();
    if (onTick_)
        onTick_();
}

} // namespace korval
