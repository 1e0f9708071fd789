#pragma once

namespace korval {

// The arguments of SetWindowPos that the saver uses: the band a window goes
// to, and the flags that keep its place and size. Where the system's own
// header has already defined them (as macros of the same values), its
// definitions stand.
#ifndef HWND_TOPMOST
inline constexpr int HWND_TOPMOST = -1;
inline constexpr int HWND_NOTOPMOST = -2;
#endif
#ifndef SWP_NOSIZE
inline constexpr unsigned SWP_NOSIZE = 0x1;
inline constexpr unsigned SWP_NOMOVE = 0x2;
#endif

} // namespace korval
