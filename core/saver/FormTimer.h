#pragma once

#include <functional>

namespace korval {

// A form's timer as the rules see it: an interval in milliseconds and an
// enabled flag; each tick runs the handler, on the one thread. The front end
// makes it tick no more often than 64 times per second.
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
