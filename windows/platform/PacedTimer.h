#pragma once

#include "Win32.h"

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
// millisecond.
class PacedTimer final : public FormTimer {
public:
    explicit PacedTimer(TimerDesign design);
    ~PacedTimer() override;
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

    std::function<void()> onTick_;
    HWND window_ = nullptr; // message-only: it receives the WM_TIMER messages
    int intervalMs_;
    bool enabled_ = false;
    TickPace pace_;
};

} // namespace korval::windows
