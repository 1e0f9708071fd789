#pragma once

#include "Win32.h"

#include "core/saver/FormTimer.h"

#include <chrono>
#include <functional>

namespace korval::windows {

// A form's timer over SetTimer, ticking in the thread's message loop. Like
// the Linux build's timer it ticks at most 64 times per second, the pace of
// Windows' own clock tick that a 1 ms timer gets on a desktop; Wine's timers
// would tick every 10 ms instead. Deadlines are counted from a steady clock,
// so the pace stays even; a tick that runs late delays the next one and
// missed ticks are not made up. Each tick asks the system for a timer that
// fires when the next deadline is due (never less than 1 ms away): Windows
// fires it at the clock tick that reaches the deadline, Wine at the
// millisecond.
class PacedTimer final : public FormTimer {
public:
    static constexpr double kFloorMs = 1000.0 / 64.0;

    explicit PacedTimer(TimerDesign design);
    ~PacedTimer() override;
    PacedTimer(const PacedTimer&) = delete;
    PacedTimer& operator=(const PacedTimer&) = delete;

    void setTickHandler(std::function<void()> onTick) override { onTick_ = std::move(onTick); }
    bool isEnabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    int interval() const override { return intervalMs_; }

private:
    using Clock = std::chrono::steady_clock;
    using Milliseconds = std::chrono::duration<double, std::milli>;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    Milliseconds period() const;
    void armFor(Clock::time_point now);
    void fire();

    std::function<void()> onTick_;
    HWND window_ = nullptr; // message-only: it receives the WM_TIMER messages
    int intervalMs_;
    bool enabled_ = false;
    Clock::time_point nextDue_;
};

} // namespace korval::windows
