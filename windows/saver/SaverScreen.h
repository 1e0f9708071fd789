#pragma once

#include "MoveFilter.h"
#include "SaverWindow.h"

#include "windows/platform/PacedTimer.h"
#include "windows/platform/Win32Platform.h"

#include "core/saver/Form1.h"

#include <map>
#include <memory>

namespace korval::windows {

// The saver form's timers, made before the form that hands them its handlers.
struct SaverTimers {
    explicit SaverTimers(Platform& platform) : timer1(TIMER1_DESIGN, platform), timer2(TIMER2_DESIGN, platform) {}
    PacedTimer timer1;
    PacedTimer timer2;
};

// The saver form on the Windows desktop: the rules of Form1 shown in a
// topmost popup over the primary monitor and one over every other monitor,
// the form's window holding the keyboard and the mouse.
//
// A window or timer that cannot be made is a run-time error, thrown by the
// constructor (or raised in the handler that needed it).
class SaverScreen final : private SaverTimers, private FormWindows, public Form1 {
public:
    SaverScreen(Win32Platform& platform, SettingsStore& store);

    // Shows the windows over their monitors once start-up has finished.
    void show();

private:
    bool keepOnTop(const ScreenRain* screen) override;
    bool leaveTop(const ScreenRain* screen) override;
    bool placeInBand(const ScreenRain* screen, HWND band);
    void screenAdded(ScreenRain& screen) override;
    void screenRemoved(ScreenRain& screen) override;
    void screensFollowed() override;
    void releaseInput() override;

    void showOnMonitors();
    SaverWindow* windowOf(const ScreenRain* screen);

    Win32Platform& win32_;
    MoveFilter moves_;
    // Members: they leave the form's stage before the form goes.
    SaverWindow window_;
    std::map<const ScreenRain*, SaverWindow> screenWindows_;
    bool shown_ = false;
};

} // namespace korval::windows
