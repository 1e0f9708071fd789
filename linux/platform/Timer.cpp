#include "Timer.h"

#include <algorithm>
#include <cmath>

namespace korval {

Timer::Timer(int intervalMs, bool enabled, std::function<void()> onTick)
    : onTick_(std::move(onTick)), intervalMs_(intervalMs), pace_(intervalMs)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { fire(); });
    clock_.start();
    setEnabled(enabled);
}

double Timer::nowMs() const
{
    return static_cast<double>(clock_.nsecsElapsed()) / 1e6;
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (enabled && intervalMs_ > 0) {
        const double now = nowMs();
        pace_.start(now);
        arm(now);
    } else {
        timer_.stop();
    }
}

void Timer::arm(double now)
{
    timer_.start(static_cast<int>(std::max(0.0, std::ceil(pace_.nextDueMs() - now))));
}

void Timer::fire()
{
    if (!enabled_)
        return;
    // Re-arm before the handler runs, so that a handler which disables the
    // timer stops it for good.
    const double now = nowMs();
    pace_.tick(now);
    arm(now);
    if (onTick_)
        onTick_();
}

} // namespace korval
