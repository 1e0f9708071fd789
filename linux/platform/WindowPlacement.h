#pragma once

#include "core/saver/WindowPlacement.h"

#include <QWindow>

namespace korval {

// Puts a window into the topmost band (HWND_TOPMOST) or takes it out
// (HWND_NOTOPMOST); moves and sizes it unless the flags say not to.
// Returns nonzero on success.
int SetWindowPos(QWindow& window, int insertAfter, int x, int y, int cx, int cy, unsigned flags);

} // namespace korval
