#include "MonitorScale.h"

#include <cmath>

namespace korval::windows {

PixelRect MonitorScale::logical(const PixelRect& physical) const
{
    const auto scaled = [this](int value) { return static_cast<int>(std::lround(value / factor)); };
    return {scaled(physical.x), scaled(physical.y), scaled(physical.width), scaled(physical.height)};
}

} // namespace korval::windows
