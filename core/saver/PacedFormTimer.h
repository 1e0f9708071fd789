#pragma once

#include "FormTimer.h"
#include "TickPace.h"

#include <functional>

namespace korval {

// A form's timer kept at the rules' pace (TickPace) over a system's one-shot
// timer: the front end sets and kills the system's timer (arm, disarm) and
// calls wake() when it fires; everything else, when a tick is due, how long
// until the next and what an early wake does, is decided here, the same on
// every system. Times come from a steady clock.
//
// A system's timer that cannot be set is the front end's to report: arm()
// may throw, out of setEnabled() (the timer then stays disabled) and out of
// wake() (before the tick's handler runs).
class PacedFormTimer : public FormTimer {
public:
    void setTickHandler(std::function<void()> onTick) override { onTick_ = std::move(onTick); }
    bool isEnabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    int interval() const override { return intervalMs_; }

protected:
    // Disabled: the front end enables it once its system's timer can be set.
    explicit PacedFormTimer(int intervalMs) : intervalMs_(intervalMs), pace_(intervalMs) {}

    // The system's timer fired.
    void wake();

    // Sets the system's timer to fire once, that many milliseconds from now,
    // in place of any that is set.
    virtual void arm(int milliseconds) = 0;
    virtual void disarm() = 0;
    // Milliseconds on a steady clock.
    virtual double nowMs() const;

private:
    std::function<void()> onTick_;
    int intervalMs_;
    bool enabled_ = false;
    TickPace pace_;
};

} // namespace korval
