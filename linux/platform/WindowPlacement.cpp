#include "WindowPlacement.h"

namespace korval {

int SetWindowPos(QWindow& window, int insertAfter, int x, int y, int cx, int cy, unsigned flags)
{
    if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST)
        window.setFlag(Qt::WindowStaysOnTopHint, insertAfter == HWND_TOPMOST);
    if (!(flags & SWP_NOMOVE))
        window.setPosition(x, y);
    if (!(flags & SWP_NOSIZE))
        window.resize(cx, cy);
    return 1;
}

} // namespace korval
