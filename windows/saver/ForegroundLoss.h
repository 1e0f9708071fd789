#pragma once

#include "windows/platform/Win32.h"

namespace korval::windows {

// Whether an activation message to one of the saver's windows says that the
// program has lost the foreground to another program. Activation that moves
// between the saver's own windows (one per monitor) or to its own message
// box stays in the program and is no loss:
// - WM_ACTIVATEAPP with wParam FALSE: another thread's window becomes active;
//   the program has one thread, so it is another program's.
// - WM_ACTIVATE with WA_INACTIVE: lParam names the window that becomes
//   active; a loss when it is another process's. Without a window (none,
//   or one the system does not name) WM_ACTIVATEAPP decides.
// - WM_NCACTIVATE names no window; the WM_ACTIVATE and WM_ACTIVATEAPP that
//   follow it decide.
// processOf gives the process of a window (GetWindowThreadProcessId).
inline bool losesForeground(UINT message, WPARAM wParam, LPARAM lParam, DWORD ownProcess, DWORD (*processOf)(HWND))
{
    switch (message) {
    case WM_ACTIVATEAPP:
        return wParam == FALSE;
    case WM_ACTIVATE: {
        const auto activated = reinterpret_cast<HWND>(lParam);
        return LOWORD(wParam) == WA_INACTIVE && activated && processOf(activated) != ownProcess;
    }
    default:
        return false;
    }
}

} // namespace korval::windows
