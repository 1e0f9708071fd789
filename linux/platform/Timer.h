#pragma once

#include "core/saver/FormTimer.h"
#include "core/saver/TickPace.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace korval {

// A form's timer: an interval in milliseconds and an enabled flag, ticking on
// the GUI thread at the pace the rules give (TickPace: at most 64 ticks per
// second, deadlines from a steady clock).
class Timer final : public QObject, public FormTimer {
    Q_OBJECT

public:
    Timer(int intervalMs, bool enabled, std::function<void()> onTick = {});

    // What each tick runs.
    void setTickHandler(std::function<void()> onTick) override { onTick_ = std::move(onTick); }

    bool isEnabled() const override { return enabled_; }
    // Enabling a running timer leaves its period as it is.
    void setEnabled(bool enabled) override;
    int interval() const override { return intervalMs_; }

private:
    double nowMs() const;
    void arm(double now);
    void fire();

    std::function<void()> onTick_;
    QTimer timer_;
    QElapsedTimer clock_;
    int intervalMs_;
    bool enabled_ = false;
    TickPace pace_;
};

} // namespace korval
