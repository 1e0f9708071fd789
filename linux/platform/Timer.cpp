#include "Timer.h"

namespace korval {

Timer::Timer(int intervalMs, bool enabled, std::function<void()> onTick) : PacedFormTimer(intervalMs)
{
    setTickHandler(std::move(onTick));
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { wake(); });
    setEnabled(enabled);
}

} // namespace korval
