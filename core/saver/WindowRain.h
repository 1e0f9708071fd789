#pragma once

#include "CellArray.h"
#include "FormTimer.h"
#include "SaverState.h"
#include "Stage.h"

#include "core/runtime/Platform.h"

namespace korval {

class SettingsStore;

// The glyph rain in a window that another program made (a screen-saver
// host's): the saver's settings, grid and animation, and nothing else. No
// banner, no input, no pointer, no lock: the host decides when the rain
// ends. The grid follows the window's size, laid out as for a screen of that
// many pixels.
class WindowRain {
public:
    // The timer is the front end's, enabled only while something moves; it
    // must outlive the rain.
    WindowRain(Platform& platform, SettingsStore& store, FormTimer& timer1);
    ~WindowRain();
    WindowRain(const WindowRain&) = delete;
    WindowRain& operator=(const WindowRain&) = delete;

    // Reads the settings and lays the grid out for a window of this many
    // pixels; then the rain falls.
    void start(int widthPixels, int heightPixels);
    // The window has a new size: the grid is laid out anew, with fresh
    // columns, and painted whole.
    void resize(int widthPixels, int heightPixels);

    void Timer1_Timer();

    SaverState state;
    CellArray M1;
    FormTimer& Timer1;

    // Runs the handlers and has the window paint.
    Stage& stage() { return stage_; }

private:
    void fallWhileTheGridMoves();

    Platform& platform_;
    SettingsStore& store_;
    Stage stage_;
};

} // namespace korval
