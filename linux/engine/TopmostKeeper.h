#pragma once

#include <QWindow>

#include <memory>
#include <vector>

namespace korval {

// Keeps the saver's windows above every other window, with or without a
// window manager: when another window is mapped or raised over one of them,
// they are raised again. Without a window manager nobody else would: a
// window mapped later would show above the saver. Only on X11; elsewhere
// create() gives null and the window system's own stacking holds.
class TopmostKeeper {
public:
    static std::unique_ptr<TopmostKeeper> create();
    virtual ~TopmostKeeper() = default;

    // The windows to keep on top, all shown; replaces the earlier ones.
    virtual void keep(std::vector<QWindow*> windows) = 0;
};

} // namespace korval
