#pragma once

#include <QWindow>

namespace korval {

inline constexpr int HWND_TOPMOST = -1;
inline constexpr int HWND_NOTOPMOST = -2;
inline constexpr unsigned SWP_NOSIZE = 0x1;
inline constexpr unsigned SWP_NOMOVE = 0x2;

// Puts a window into the topmost band (HWND_TOPMOST) or takes it out
// (HWND_NOTOPMOST); moves and sizes it unless the flags say not to.
// Returns nonzero on success.
int SetWindowPos(QWindow& window, int insertAfter, int x, int y, int cx, int cy, unsigned flags);

} // namespace korval
