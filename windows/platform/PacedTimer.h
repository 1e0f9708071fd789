#pragma once

#include "OwnedWindow.h"
#include "Win32.h"

#include "core/runtime/Platform.h"
#include "core/saver/PacedFormTimer.h"

namespace korval::windows {

// A form's timer in the thread's message loop: the rules' pace
// (PacedFormTimer) over SetTimer on a message-only window of its own. Wine's
// timers would tick every 10 ms where a 1 ms timer on a Windows desktop
// ticks at the clock tick, 64 times per second; the pace keeps both at the
// latter. The timer asks not to be coalesced with others, which Windows 8
// and later may do to the timers of windows that are not visible, as this
// one's message-only window.
//
// A window or timer that the system cannot make is a run-time error: thrown
// where the timer is made or enabled, and reported through the platform's
// handler guard where the timer is set again as it fires.
class PacedTimer final : public PacedFormTimer {
public:
    PacedTimer(TimerDesign design, Platform& platform);
    PacedTimer(const PacedTimer&) = delete;
    PacedTimer& operator=(const PacedTimer&) = delete;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void arm(int milliseconds) override;
    void disarm() override;

    Platform& platform_;
    OwnedWindow window_; // message-only: it receives the WM_TIMER messages
};

} // namespace korval::windows
