#include "RandomSource.h"

#include <chrono>

namespace korval {

void ClockSeededRandom::seedFromClock()
{
    engine_.seed(static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count())
                 ^ static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
}

double ClockSeededRandom::next()
{
    // uniform_real_distribution may return its upper bound through rounding
    // on some libraries; a draw of exactly 1 would pick a cell past the grid.
    const double r = uniform_(engine_);
    return r < 1.0 ? r : 0.0;
}

} // namespace korval
