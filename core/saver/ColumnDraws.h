#pragma once

#include "core/runtime/Arithmetic.h"
#include "core/runtime/RandomSource.h"

namespace korval {

// The draws that give a column its speed and mode, at start-up and at every
// wrap of its head, always speed first.

// A speed of 1..4 cells per tick, 1 twice as likely as each of the others.
inline int drawSpeed(RandomSource& random)
{
    const int speed = static_cast<int>(Int(5 * random.next()));
    return speed == 0 ? 1 : speed;
}

// 1: the column writes blanks; 0: it writes glyphs; each half the time.
inline int drawMode(RandomSource& random)
{
    return static_cast<int>(Int(2 * random.next()));
}

} // namespace korval
