#pragma once

namespace korval::windows {

// Mouse messages carry the pointer's place in the window's client area as
// two signed 16-bit numbers, which wrap where the place lies 32,768 pixels
// or more from the window's corner: on a desktop wider or taller than that,
// over another monitor while the saver's window holds the mouse. Each such
// number stands for one place every 65,536 pixels; the one meant is the one
// nearest to where the pointer is now (GetCursorPos, 32 bits). That is exact
// as long as the pointer has moved less than 32,768 pixels between the
// message and its handling.
inline long fullCoordinate(int wrapped, long around)
{
    constexpr long kPeriod = 65536;
    const long offset = around - wrapped;
    // The multiple of the period nearest to the offset, rounded alike on
    // either side of zero.
    const long periods = offset >= 0 ? (offset + kPeriod / 2) / kPeriod : -((-offset + kPeriod / 2 - 1) / kPeriod);
    return wrapped + periods * kPeriod;
}

} // namespace korval::windows
