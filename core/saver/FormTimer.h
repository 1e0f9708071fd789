#pragma once

#include <functional>

namespace korval {

// A form's timer as the rules see it: an interval in milliseconds and an
// enabled flag; each tick runs the handler, on the one thread. The front end
// makes it tick no more often than 64 times per second.
// A timer as the form is designed with it.
struct TimerDesign {
    int intervalMs;
    bool enabled;
};

// Timer1 drives the rain from the first moment, as often as the front end's
// timer allows; Timer2, the banner's, waits until the banner shows.
inline constexpr TimerDesign TIMER1_DESIGN{1, true};
inline constexpr TimerDesign TIMER2_DESIGN{2000, false};

class FormTimer {
public:
    virtual ~FormTimer() = default;

    virtual void setTickHandler(std::function<void()> onTick) = 0;
    virtual bool isEnabled() const = 0;
    // Enabling a running timer leaves its period as it is.
    virtual void setEnabled(bool enabled) = 0;
    virtual int interval() const = 0;
};

} // namespace korval
