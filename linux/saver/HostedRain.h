#pragma once

#include "core/saver/SaverState.h"

#include "core/saver/CellArray.h"
#include "engine/HostWindow.h"
#include "core/saver/Stage.h"
#include "core/runtime/Platform.h"
#include "platform/Timer.h"

#include <QSize>

#include <cstdint>
#include <memory>

namespace korval {

class SettingsStore;

// The glyph rain in a window that a screen-saver host made: the saver's
// settings, grid and animation, and nothing else. No banner, no input, no
// pointer, no lock: the host decides when the rain ends, by destroying its
// window or with a signal. The grid follows the window's size.
class HostedRain {
public:
    HostedRain(Platform& platform, SettingsStore& store);
    ~HostedRain();
    HostedRain(const HostedRain&) = delete;
    HostedRain& operator=(const HostedRain&) = delete;

    // Shows the rain in the given X window (0: the root window) and keeps it
    // there: the grid for the window's size, laid out anew when that
    // changes; the window's destruction ends the program. A window that
    // cannot be drawn in ends the program with its reason and status 1.
    void showIn(std::uint32_t window);

    // Reads the settings and lays the grid out for a window of this many
    // pixels; then the rain falls.
    void start(QSize windowPixels);
    // The window has a new size: the grid is laid out anew, with fresh columns.
    void resize(QSize windowPixels);

    void Timer1_Timer();

    SaverState state;
    CellArray M1;
    Timer Timer1;

private:
    void fallWhileTheGridMoves();

    Platform& platform_;
    SettingsStore& store_;
    std::unique_ptr<HostWindow> window_;
    // Declared after the window it paints: it lets go of it first.
    Stage stage_;
};

} // namespace korval
