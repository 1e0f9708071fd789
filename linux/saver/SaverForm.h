#pragma once

#include "core/saver/Form1.h"
#include "core/saver/ScreenWindows.h"

#include "engine/InputGrab.h"
#include "engine/SaverWindow.h"
#include "engine/TopmostKeeper.h"
#include "platform/Timer.h"

#include <memory>
#include <vector>

namespace korval {

// The saver form on the Linux desktop: the rules of Form1 shown in a
// borderless, topmost window over the primary screen and one over every
// other screen, which hold the keyboard and the pointer and stay on top.
class SaverForm final : private FormWindows {
public:
    SaverForm(Platform& platform, SettingsStore& store);
    ~SaverForm() override;
    SaverForm(const SaverForm&) = delete;
    SaverForm& operator=(const SaverForm&) = delete;

    // The form's rules, state and controls.
    Form1& form1() { return form1_; }

    // Shows the form over the primary screen and the other screens' windows
    // over theirs once start-up has finished, on top and holding the
    // keyboard and the pointer.
    void show();

    SaverWindow& window() { return window_; }
    // The window of the other screen at that place in otherScreens().
    SaverWindow& screenWindow(std::size_t index);
    const InputGrab& inputGrab() const { return grab_; }

private:
    bool keepOnTop(const ScreenRain* screen) override;
    bool leaveTop(const ScreenRain* screen) override;
    SaverWindow& windowOf(const ScreenRain* screen);
    void screenAdded(ScreenRain& screen) override;
    void screenRemoved(ScreenRain& screen) override;
    void screensFollowed() override;
    void releaseInput() override;

    void startMoves();
    void showOnScreens();
    static void place(SaverWindow& window, const ScreenArea& area);
    std::vector<SaverWindow*> windows();

    // Built in this order: the timers before the form that hands them its
    // handlers, the form before the windows that show it.
    Timer timer1_{TIMER1_DESIGN.intervalMs, TIMER1_DESIGN.enabled};
    Timer timer2_{TIMER2_DESIGN.intervalMs, TIMER2_DESIGN.enabled};
    Form1 form1_;
    SaverWindow window_;
    ScreenWindows<SaverWindow> screenWindows_;
    InputGrab grab_;
    std::unique_ptr<TopmostKeeper> topmost_;
    bool shown_ = false;
};

} // namespace korval
