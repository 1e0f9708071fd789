#pragma once

#include "SaverWindow.h"

#include "windows/platform/PacedTimer.h"
#include "windows/platform/Win32Platform.h"

#include "core/saver/Form1.h"
#include "core/saver/ScreenWindows.h"

#include <memory>

namespace korval::windows {

// The saver form on the Windows desktop: the rules of Form1 shown in a
// topmost popup over the primary monitor and one over every other monitor,
// the form's window holding the keyboard and the mouse.
//
// A window or timer that cannot be made is a run-time error, thrown by the
// constructor (or raised in the handler that needed it).
class SaverScreen final : private FormWindows {
public:
    SaverScreen(Win32Platform& platform, SettingsStore& store);
    SaverScreen(const SaverScreen&) = delete;
    SaverScreen& operator=(const SaverScreen&) = delete;

    // The form's rules, state and controls.
    Form1& form1() { return form1_; }

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

    // Built in this order: the timers before the form that hands them its
    // handlers, the form before the windows that show it; the windows leave
    // the form's stage before the form goes.
    Win32Platform& win32_;
    PacedTimer timer1_;
    PacedTimer timer2_;
    Form1 form1_;
    SaverWindow window_;
    ScreenWindows<SaverWindow> screenWindows_;
    bool shown_ = false;
};

} // namespace korval::windows
