#pragma once

#include "OwnedWindow.h"
#include "Win32.h"

#include "core/runtime/Platform.h"
#include "core/saver/FormTimer.h"
#include "core/saver/TickPace.h"

#include <functional>

namespace korval::windows {

// A form's timer over SetTimer, ticking in the thread's message loop at the
// pace the rules give (TickPace: at most 64 ticks per second, the pace of
// Windows' own clock tick that a 1 ms timer gets on a desktop; Wine's timers
// would tick every 10 ms instead). Each tick asks the system for a timer that
// fires when the next deadline is due (never less than 1 ms away): Windows
// fires it at the clock tick that reaches the deadline, Wine at the
// millisecond. The timer asks not to be coalesced with others, which
// Windows 8 and later may do to the timers of windows that are not visible,
// as this one's message-only window.
//
// A window or timer that the system cannot make is a run-time error: thrown
// where the timer is made or enabled, and reported through the platform's
// handler guard where the timer arms itself again on a tick.
class PacedTimer final : public FormTimer {
public:
    PacedTimer(TimerDesign design, Platform& platform);
    PacedTimer(const PacedTimer&) = delete;
    PacedTimer& operator=(const PacedTimer&) = delete;

    void setTickHandler(std::function<void()> onTick) override { onTick_ = std::move(onTick); }
    bool isEnabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    int interval() const override { return intervalMs_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static double nowMs();
    void armFor(double now);
    void fire();

    Platform& platform_;
    std::function<void()> onTick_;
    int intervalMs_;
    bool enabled_ = false;
    TickPace pace_;
    OwnedWindow window_; // message-only: it receives the WM_TIMER messages
};

} // namespace korval::windows
