#pragma once

#include "core/saver/WindowRain.h"

#include "engine/HostWindow.h"
#include "platform/Timer.h"

#include <QSize>

#include <cstdint>
#include <memory>

namespace korval {

// The rain's timer, made before the rain that hands it its handler.
struct HostedTimer {
    Timer timer1{1, false};
};

// The glyph rain in an X window that a screen-saver host made: the rules of
// WindowRain drawn by the X server in that window. The window's destruction
// ends the program.
class HostedRain final : private HostedTimer, public WindowRain {
public:
    HostedRain(Platform& platform, SettingsStore& store);
    ~HostedRain();

    // Shows the rain in the given X window (0: the root window) and keeps it
    // there: the grid for the window's size, laid out anew when that
    // changes; the window's destruction ends the program. A window that
    // cannot be drawn in ends the program with its reason and status 1.
    void showIn(std::uint32_t window);

    void start(QSize windowPixels) { WindowRain::start(windowPixels.width(), windowPixels.height()); }
    void resize(QSize windowPixels) { WindowRain::resize(windowPixels.width(), windowPixels.height()); }

private:
    Platform& platform_;
    std::unique_ptr<HostWindow> window_;
};

} // namespace korval
